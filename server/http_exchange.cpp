// Request heads parsed by Boost.Beast's HTTP/1.1 parser, fed one whole head at a time: the
// head is found (and its size bounded) before the parser sees it, and the parser counts the
// fields and keeps only those the answers use.
#include "server/http_exchange.h"

#include <boost/beast/http/basic_parser.hpp>
#include <boost/beast/http/error.hpp>
#include <cstdio>
#include <ctime>

namespace {
namespace http = boost::beast::http;
using boost::beast::error_code;
using boost::beast::string_view;

class Head_Parser : public http::basic_parser<true> {
 public:
  Head_Parser() { header_limit(kMaxHeadBytes); }
  Http_Request request;
  int field_count = 0;

 private:
  void on_request_impl(http::verb, string_view method, string_view target, int,
                       error_code&) override {
    request.method.assign(method.data(), method.size());
    request.target.assign(target.data(), target.size());
  }
  void on_response_impl(int, string_view, int, error_code&) override {}
  void on_field_impl(http::field name, string_view, string_view value, error_code& ec) override {
    if (++field_count > kMaxHeadFields) {
      ec = http::error::header_limit;
      return;
    }
    const auto add = [&](std::string& to) {
      if (!to.empty()) to += ", ";
      to.append(value.data(), value.size());
    };
    if (name == http::field::accept_encoding) add(request.accept_encoding);
    if (name == http::field::if_none_match) add(request.if_none_match);
  }
  void on_header_impl(error_code&) override {}
  void on_body_init_impl(const boost::optional<std::uint64_t>&, error_code&) override {}
  std::size_t on_body_impl(string_view body, error_code&) override { return body.size(); }
  void on_chunk_header_impl(std::uint64_t, string_view, error_code&) override {}
  std::size_t on_chunk_body_impl(std::uint64_t, string_view body, error_code&) override {
    return body.size();
  }
  void on_finish_impl(error_code&) override {}
};

const char* Reason(int status) {
  switch (status) {
    case 200: return "OK";
    case 304: return "Not Modified";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 413: return "Content Too Large";
    case 414: return "URI Too Long";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Unknown";
  }
}

// An IMF-fixdate (RFC 9110, section 5.6.7), in English whatever the locale.
std::string Http_Date() {
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&now, &tm);
  char text[40];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d GMT", kDays[tm.tm_wday],
                tm.tm_mday, kMonths[tm.tm_mon], tm.tm_year + 1900, tm.tm_hour, tm.tm_min,
                tm.tm_sec);
  return text;
}

Wire_Answer Refusal(int status, const char* why) {
  const Http_Answer a = Plain_Answer(status, why);
  return {Answer_Head(a, true), a.body, true};
}
}  // namespace

std::string Answer_Head(const Http_Answer& answer, bool close) {
  std::string head = "HTTP/1.1 " + std::to_string(answer.status) + " " + Reason(answer.status);
  head += "\r\nDate: " + Http_Date() + "\r\nX-Content-Type-Options: nosniff\r\n";
  for (const auto& [name, value] : answer.fields) head += name + ": " + value + "\r\n";
  if (answer.has_body) head += "Content-Length: " + std::to_string(answer.body->size()) + "\r\n";
  if (close) head += "Connection: close\r\n";
  return head + "\r\n";
}

bool Next_Is_Picture(std::string_view received) {
  const std::string_view window = received.substr(0, kMaxHeadBytes);
  if (window.find("\r\n\r\n") == std::string_view::npos) return false;
  const std::string_view line = window.substr(0, window.find("\r\n"));
  const std::size_t from = line.find(' ');
  if (from == std::string_view::npos) return false;
  const std::size_t to = line.find(' ', from + 1);
  if (to == std::string_view::npos) return false;
  return Demo_Site::Draws_Picture(line.substr(from + 1, to - from - 1));
}

std::optional<Wire_Answer> Next_Answer(const Demo_Site& site, std::string& received) {
  const std::string_view window = std::string_view(received).substr(0, kMaxHeadBytes);
  const std::size_t end = window.find("\r\n\r\n");
  if (end == std::string_view::npos) {
    if (received.size() <= kMaxHeadBytes) return std::nullopt;
    if (window.find("\r\n") == std::string_view::npos)
      return Refusal(414, "the request line is longer than 8192 bytes");
    return Refusal(431, "the request head is longer than 8192 bytes");
  }
  const std::size_t head_size = end + 4;

  Head_Parser parser;
  error_code ec;
  const std::size_t used = parser.put(boost::asio::buffer(received.data(), head_size), ec);
  if (ec == http::error::header_limit)
    return Refusal(431, "the request head has more than 100 fields");
  if (ec || used != head_size || !parser.is_header_done()) return Refusal(400, "malformed request");
  const Http_Request& request = parser.request;
  if (!parser.is_done()) {  // a body follows: not read, so the connection cannot go on
    if (request.method != "GET" && request.method != "HEAD")
      return Refusal(405, "only GET and HEAD");
    return Refusal(413, "a GET or HEAD request takes no body");
  }
  received.erase(0, head_size);

  const Http_Answer answer = site.Answer(request);
  const bool close = !parser.keep_alive();
  const bool send_body = answer.has_body && request.method != "HEAD";
  return Wire_Answer{Answer_Head(answer, close), send_body ? answer.body : nullptr, close};
}
