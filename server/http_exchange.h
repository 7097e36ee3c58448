// HTTP/1.1 on a byte stream, apart from any socket: takes request heads from the front of what
// a connection has received and gives the bytes to send back, so a server loop and a test or
// fuzzer drive the same code.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "server/demo_site.h"

// A request head (request line, fields, the blank line) may have this many bytes, and this
// many fields; one more is refused with 414 (a request line alone too long) or 431.
inline constexpr std::size_t kMaxHeadBytes = 8192;
inline constexpr int kMaxHeadFields = 100;

struct Wire_Answer {
  std::string head;                         // status line and fields, through the blank line
  std::shared_ptr<const std::string> body;  // null for none (HEAD, 304)
  bool close = false;                       // close the connection once sent
};

// Takes the next whole request head from the front of received (erasing its bytes) and gives
// the answer. Returns nothing while received holds only the start of a head within the limits
// (read more, at most kMaxHeadBytes + 1 - received.size() bytes). A head past a limit, a
// malformed one or one announcing a body gets its refusal with close set; a request that
// does not ask to keep the connection gets its answer with close set.
std::optional<Wire_Answer> Next_Answer(const Demo_Site& site, std::string& received);

// Whether received starts with a whole request head (within kMaxHeadBytes) whose target asks
// for a picture (Demo_Site::Draws_Picture): its answer is better drawn off the event loop.
bool Next_Is_Picture(std::string_view received);

// The status line and fields for answer (with X-Content-Type-Options: nosniff, Date,
// Content-Length unless it is a 304), through the blank line.
std::string Answer_Head(const Http_Answer& answer, bool close);
