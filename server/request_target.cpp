// Request targets: the path and the query, decoded.
#include "server/request_target.h"

namespace {
// The query's name=value pairs; a repeated name keeps its last value. False when malformed.
bool Read_Query(std::string_view query, std::map<std::string, std::string>& params) {
  while (!query.empty()) {
    const std::size_t amp = query.find('&');
    const std::string_view pair = query.substr(0, amp);
    const std::size_t eq = pair.find('=');
    std::string name, value;
    if (!Percent_Decode(pair.substr(0, eq), true, name)) return false;
    if (eq != std::string_view::npos && !Percent_Decode(pair.substr(eq + 1), true, value))
      return false;
    if (!name.empty()) params[name] = value;
    if (amp == std::string_view::npos) break;
    query.remove_prefix(amp + 1);
  }
  return true;
}
}  // namespace

std::string Request_Target::Param(const std::string& name, const char* fallback) const {
  const auto it = params.find(name);
  return it == params.end() ? std::string(fallback) : it->second;
}

bool Percent_Decode(std::string_view in, bool plus_is_blank, std::string& out) {
  const auto hex = [](char c) {
    return c >= '0' && c <= '9' ? c - '0'
           : (c | 0x20) >= 'a' && (c | 0x20) <= 'f' ? (c | 0x20) - 'a' + 10
                                                    : -1;
  };
  out.clear();
  for (std::size_t k = 0; k < in.size(); ++k) {
    if (in[k] == '%') {
      if (k + 2 >= in.size()) return false;
      const int high = hex(in[k + 1]), low = hex(in[k + 2]);
      if (high < 0 || low < 0) return false;
      out += static_cast<char>(high * 16 + low);
      k += 2;
    } else {
      out += plus_is_blank && in[k] == '+' ? ' ' : in[k];
    }
  }
  return true;
}

std::string Read_Target(std::string_view target, Request_Target& read) {
  if (target.empty() || target[0] != '/') return "the request target must be a path";
  const std::size_t question = target.find('?');
  if (!Percent_Decode(target.substr(0, question), false, read.path))
    return "malformed percent-encoding in the path";
  if (question != std::string_view::npos && !Read_Query(target.substr(question + 1), read.params))
    return "malformed percent-encoding in the query";
  return {};
}
