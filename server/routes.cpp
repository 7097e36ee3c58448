// The output routes: each runs a service step and maps its outcome to an HTTP status.
#include "server/routes.h"

#include <sstream>
#include <string_view>

#include "server/negotiation.h"
#include "service/json_output.h"
#include "service/render_command.h"
#include "service/sky.h"

namespace {
// An SVG document shows its pictures as data: URIs and styles its text inline; it runs no
// script.
constexpr const char kSvgCsp[] = "default-src 'none'; img-src data:; style-src 'unsafe-inline'";
constexpr const char kForever[] = "public, max-age=31536000, immutable";

// A refused step: 400 for its input (a malformed instant, the calendar gap, an unknown sign),
// 500 for a fault, with the one-line reason.
Http_Answer Refuse(const Outcome& outcome) {
  return Plain_Answer(outcome.status == Service_Status::Fault ? 500 : 400, outcome.message);
}

// An output: cacheable for good with an ETag when its instant is fixed, never stored when it
// follows the clock.
Http_Answer Output(std::string body, const char* type, bool fixed, const Http_Request& request) {
  Http_Answer a;
  a.fields = {{"Content-Type", type}};
  if (!fixed) {
    a.fields.emplace_back("Cache-Control", "no-store");
  } else {
    std::string etag = Etag_Of(body);
    if (Names_Etag(request.if_none_match, etag)) {
      a.status = 304;
      a.has_body = false;
      a.fields.clear();
    }
    a.fields.emplace_back("Cache-Control", kForever);
    a.fields.emplace_back("ETag", std::move(etag));
  }
  a.body = std::make_shared<const std::string>(std::move(body));
  return a;
}

Http_Answer Chart_Svg(const std::string& at, const Request_Target&, const Http_Request& request) {
  std::string svg;
  std::ostringstream messages;
  const Outcome o = Render_Chart(at, -1, svg, messages);
  if (!o.Ok()) return Refuse(o);
  Http_Answer a = Output(std::move(svg), "image/svg+xml; charset=utf-8", at != "now", request);
  a.fields.emplace_back("Content-Security-Policy", kSvgCsp);
  return a;
}

Http_Answer Positions(const std::string& at, const Request_Target&, const Http_Request& request) {
  Computed_Instant computed;
  const Outcome o = Compute_Sky(at, computed);
  if (!o.Ok()) return Refuse(o);
  return Output(Positions_Json(computed) + "\n", "application/json", at != "now", request);
}

Http_Answer Analysis(const std::string& at, const Request_Target& target,
                     const Http_Request& request) {
  int sign;
  if (const Outcome o = Read_Sign(target.Param("sign", ""), sign); !o.Ok()) return Refuse(o);
  Computed_Instant computed;
  std::string text;
  if (const Outcome o = Compute_Analysis(at, sign, computed, text); !o.Ok()) return Refuse(o);
  return Output(Analysis_Json(computed, sign, text) + "\n", "application/json", at != "now",
                request);
}

struct Route {
  std::string_view path;
  Http_Answer (*answer)(const std::string& at, const Request_Target&, const Http_Request&);
};
constexpr Route kRoutes[] = {
    {"/chart.svg", Chart_Svg},
    {"/api/positions", Positions},
    {"/api/analysis", Analysis},
};
}  // namespace

std::optional<Http_Answer> Output_Route(const Request_Target& target, const Http_Request& request) {
  for (const Route& route : kRoutes)
    if (target.path == route.path) return route.answer(target.Param("at", "now"), target, request);
  return std::nullopt;
}
