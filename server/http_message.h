// A request as the answers see it and the answer they give, apart from any socket.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The parts of a request head the answers depend on.
struct Http_Request {
  std::string method;           // "GET"
  std::string target;           // "/api/positions?at=2000-01-01T12:00Z"
  std::string accept_encoding;  // the Accept-Encoding field values, joined by ", "
  std::string if_none_match;    // the If-None-Match field values, joined by ", "
};

struct Http_Answer {
  int status = 200;
  std::vector<std::pair<std::string, std::string>> fields;  // besides Content-Length
  std::shared_ptr<const std::string> body;                  // never null
  bool has_body = true;  // false for 304: no body and no Content-Length
};

// The Content-Security-Policy the demo page (any HTML page the server sends) is served with:
// the strictest a site can use with the widget.
inline constexpr const char kPageCsp[] =
    "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'";

// status with line as a plain-text body (made printable, see Printable_Line), not to be
// cached without asking again.
Http_Answer Plain_Answer(int status, std::string_view line);
