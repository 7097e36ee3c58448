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

Http_Answer Chart_Html(const std::string& at, const Request_Target&, const Http_Request& request) {
  std::string html;
  std::ostringstream messages;
  const bool fixed = at != "now";
  const Outcome o = Render_Chart_Html(at, fixed ? at : "", "/", html, messages);
  if (!o.Ok()) return Refuse(o);
  Http_Answer a = Output(std::move(html) + "\n", "text/html; charset=utf-8", fixed, request);
  if (a.status != 304) a.fields.emplace_back("Content-Security-Policy", kPageCsp);
  return a;
}

// An at text that names its zone (Z or an offset), or none: the server can render its sky.
// One without a zone is the visitor's local time, which the element reads on the page.
bool Zoned(std::string_view at) {
  const std::size_t t = at.find('T');
  return t != std::string_view::npos &&
         (at.back() == 'Z' || at.find_first_of("+-", t) != std::string_view::npos);
}

// The page with the chart of each empty <zodiac-chart> tag written into it as its declarative
// shadow root, for the tag's at instant (the present one without at); a tag whose instant the
// server cannot render is left for the element's script.
std::string With_Charts_Rendered(std::string_view page) {
  constexpr std::string_view kOpen = "<zodiac-chart", kClose = "></zodiac-chart>";
  std::string out;
  out.reserve(page.size() + 3 * 16 * 1024);
  std::size_t at = 0;
  for (std::size_t open; (open = page.find(kOpen, at)) != std::string_view::npos;) {
    const std::size_t end = page.find('>', open);
    if (end == std::string_view::npos) break;
    out += page.substr(at, end + 1 - at);
    at = end + 1;
    if (page.compare(end, kClose.size(), kClose) != 0) continue;  // not an empty tag
    const std::string_view tag = page.substr(open, end - open);
    std::string instant = "now";
    if (const std::size_t a = tag.find(" at=\""); a != std::string_view::npos) {
      const std::size_t q = tag.find('"', a + 5);
      instant = std::string(tag.substr(a + 5, q == std::string_view::npos ? 0 : q - a - 5));
    }
    std::string root;
    std::ostringstream messages;
    if ((instant == "now" || Zoned(instant)) && Render_Shadow_Root(instant, "/", root, messages).Ok())
      out += root;
  }
  out += page.substr(at);
  return out;
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

// A picture: its source made first (cheap), so a request naming its ETag gets 304 without
// the picture being drawn; the ETag covers what the picture is drawn from and how.
Http_Answer Picture(bool card, const std::string& at, const Request_Target& target,
                    const Http_Request& request) {
  int scale = 1;
  if (const auto it = target.params.find("scale"); it != target.params.end()) {
    const std::string& text = it->second;
    if (text.size() != 1 || text[0] < '1' || text[0] > '4')
      return Plain_Answer(400, "scale must be a whole number from 1 to 4, not '" + text + "'");
    scale = text[0] - '0';
  }
  int sign = -1;
  const char* sign_name = card ? "sign" : "analysis";
  if (card || target.params.count(sign_name)) {
    if (const Outcome o = Read_Sign(target.Param(sign_name, ""), sign); !o.Ok()) return Refuse(o);
  }
  Picture_Source source;
  const Outcome o = card ? Card_Source(at, sign, source) : Chart_Png_Source(at, sign, source);
  if (!o.Ok()) return Refuse(o);
  Http_Answer a;
  a.fields = {{"Content-Type", "image/png"}};
  if (at != "now") {
    std::string etag = Etag_Of(source.svg + '\0' + source.analysis + '\0' +
                               (card ? "card" : "png" + std::to_string(scale)));
    a.fields.emplace_back("Cache-Control", kForever);
    a.fields.emplace_back("ETag", etag);
    if (Names_Etag(request.if_none_match, etag)) {
      a.status = 304;
      a.has_body = false;
      a.fields.erase(a.fields.begin());
      a.body = std::make_shared<const std::string>();
      return a;
    }
  } else {
    a.fields.emplace_back("Cache-Control", "no-store");
  }
  std::string png;
  if (const Outcome d = Draw_Picture(source, scale, card, png); !d.Ok()) return Refuse(d);
  a.body = std::make_shared<const std::string>(std::move(png));
  // Another origin's page may show it in an <img>, even one that isolates itself.
  a.fields.emplace_back("Cross-Origin-Resource-Policy", "cross-origin");
  return a;
}

Http_Answer Chart_Png(const std::string& at, const Request_Target& target,
                      const Http_Request& request) {
  return Picture(false, at, target, request);
}

Http_Answer Card_Png(const std::string& at, const Request_Target& target,
                     const Http_Request& request) {
  return Picture(true, at, target, request);
}

struct Route {
  std::string_view path;
  Http_Answer (*answer)(const std::string& at, const Request_Target&, const Http_Request&);
};
constexpr Route kRoutes[] = {
    {"/chart.svg", Chart_Svg},
    {"/chart.html", Chart_Html},
    {"/api/positions", Positions},
    {"/api/analysis", Analysis},
    {"/chart.png", Chart_Png},
    {"/card.png", Card_Png},
};
}  // namespace

std::optional<Http_Answer> Output_Route(const Request_Target& target, const Http_Request& request) {
  for (const Route& route : kRoutes)
    if (target.path == route.path) return route.answer(target.Param("at", "now"), target, request);
  return std::nullopt;
}

Http_Answer Rendered_Page(std::string_view page, const Http_Request& request) {
  Http_Answer a = Output(With_Charts_Rendered(page), "text/html; charset=utf-8", true, request);
  for (auto& [name, value] : a.fields)
    if (name == "Cache-Control") value = "no-cache";
  if (a.status != 304) a.fields.emplace_back("Content-Security-Policy", kPageCsp);
  a.fields.emplace_back("Access-Control-Allow-Origin", "*");
  a.fields.emplace_back("Cross-Origin-Resource-Policy", "cross-origin");
  return a;
}

bool Is_Picture_Route(std::string_view path) { return path == "/chart.png" || path == "/card.png"; }
