// Accept-Encoding weights and ETags.
#include "server/negotiation.h"

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {
std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Calls each(element) for the comma-separated elements of a field value, trimmed.
template <class Each>
void For_Each_Element(std::string_view list, Each each) {
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    each(Trim(list.substr(0, comma)));
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
}

bool Same_Ignoring_Case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k)
    if ((a[k] | 0x20) != (b[k] | 0x20)) return false;
  return true;
}
}  // namespace

// A 64-bit hash (the standard library's, 8 bytes a step; it only has to tell this server's
// answers apart).
std::string Etag_Of(std::string_view bytes) {
  char text[24];
  std::snprintf(text, sizeof text, "\"%016llx\"",
                static_cast<unsigned long long>(std::hash<std::string_view>{}(bytes)));
  return text;
}

bool Names_Etag(std::string_view if_none_match, std::string_view etag) {
  bool found = false;
  For_Each_Element(if_none_match, [&](std::string_view tag) {
    if (tag.rfind("W/", 0) == 0) tag.remove_prefix(2);
    if (tag == etag || tag == "*") found = true;
  });
  return found;
}

double Quality(std::string_view accept, std::string_view coding) {
  double own = -1, any = 0;
  For_Each_Element(accept, [&](std::string_view element) {
    const std::size_t semi = element.find(';');
    const std::string_view name = Trim(element.substr(0, semi));
    double q = 1;
    if (semi != std::string_view::npos) {
      std::string_view param = Trim(element.substr(semi + 1));
      if (param.size() > 2 && (param[0] | 0x20) == 'q' && param[1] == '=') {
        const std::string value(param.substr(2, 5));  // "0.xyz" at most
        q = std::strtod(value.c_str(), nullptr);
      }
    }
    if (Same_Ignoring_Case(name, coding)) own = q;
    if (name == "*") any = q;
  });
  return own >= 0 ? own : any;
}
