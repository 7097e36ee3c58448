// The demo site's answers: the method, the target, then an output route or a bundle file.
#include "server/demo_site.h"

#include "server/request_target.h"
#include "server/routes.h"

Http_Answer Demo_Site::Answer(const Http_Request& request) const {
  if (request.method != "GET" && request.method != "HEAD") {
    Http_Answer a = Plain_Answer(405, "only GET and HEAD");
    a.fields.emplace_back("Allow", "GET, HEAD");
    return a;
  }
  Request_Target target;
  if (const std::string refusal = Read_Target(request.target, target); !refusal.empty())
    return Plain_Answer(400, refusal);
  if (std::optional<Http_Answer> output = Output_Route(target, request)) return *std::move(output);
  if (target.path == "/" || target.path == "/index.html") {
    Http_Request plain = request;
    plain.accept_encoding.clear();
    plain.if_none_match.clear();
    const Http_Answer page = bundle_.Answer("/index.html", plain);
    if (page.status == 200) return Rendered_Page(*page.body, request);
  }
  return bundle_.Answer(target.path, request);
}

bool Demo_Site::Draws_Picture(std::string_view target) {
  Request_Target read;
  return Read_Target(target, read).empty() && Is_Picture_Route(read.path);
}
