// Plain-text answers.
#include "server/http_message.h"

#include "service/printable.h"

Http_Answer Plain_Answer(int status, std::string_view line) {
  Http_Answer a;
  a.status = status;
  a.fields = {{"Content-Type", "text/plain; charset=utf-8"}, {"Cache-Control", "no-cache"}};
  a.body = std::make_shared<const std::string>(Printable_Line(line) + "\n");
  return a;
}
