// The demo server's answers. Caching by RFC 9111 and RFC 9110 section 13 (ETag,
// If-None-Match, 304); content codings chosen by the Accept-Encoding weights (RFC 9110,
// section 12.5.3). Nothing is compressed per request: scripts/build-web writes FILE.gz and
// FILE.br beside each bundle file once.
#include "server/demo_site.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "cli/json_output.h"
#include "cli/printable.h"
#include "cli/render_command.h"
#include "cli/sky.h"
#include "server/serve.h"

namespace {
namespace fs = std::filesystem;

// An SVG document shows its pictures as data: URIs and styles its text inline; it runs no
// script.
constexpr const char kSvgCsp[] = "default-src 'none'; img-src data:; style-src 'unsafe-inline'";
constexpr const char kPlainText[] = "text/plain; charset=utf-8";
constexpr const char kForever[] = "public, max-age=31536000, immutable";

std::string Mime_Type(const fs::path& file) {
  static const std::map<std::string, std::string, std::less<>> kTypes = {
      {".html", "text/html; charset=utf-8"},
      {".js", "application/javascript; charset=utf-8"},
      {".mjs", "application/javascript; charset=utf-8"},
      {".wasm", "application/wasm"},
      {".css", "text/css; charset=utf-8"},
      {".svg", "image/svg+xml; charset=utf-8"},
      {".json", "application/json"},
      {".png", "image/png"},
      {".txt", "text/plain; charset=utf-8"},
  };
  const auto it = kTypes.find(file.extension().string());
  return it == kTypes.end() ? "application/octet-stream" : it->second;
}

// A strong validator from the bytes: a 64-bit hash (the standard library's, 8 bytes a step;
// it only has to tell this server's answers apart).
std::string Etag_Of(std::string_view bytes) {
  char text[24];
  std::snprintf(text, sizeof text, "\"%016llx\"",
                static_cast<unsigned long long>(std::hash<std::string_view>{}(bytes)));
  return text;
}

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

// The weight Accept-Encoding gives coding: its own entry's q, else that of "*", else 0.
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

// Whether an If-None-Match list names etag (weak comparison) or is "*".
bool Names_Etag(std::string_view if_none_match, std::string_view etag) {
  bool found = false;
  For_Each_Element(if_none_match, [&](std::string_view tag) {
    if (tag.rfind("W/", 0) == 0) tag.remove_prefix(2);
    if (tag == etag || tag == "*") found = true;
  });
  return found;
}

// Decodes %XX (and "+" as a blank when plus_is_blank); false for a malformed escape.
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

Http_Answer Plain(int status, const std::string& line) {
  Http_Answer a;
  a.status = status;
  a.fields = {{"Content-Type", kPlainText}, {"Cache-Control", "no-cache"}};
  a.body = std::make_shared<const std::string>(Printable_Line(line) + "\n");
  return a;
}

// A refused query: 400 (or 500 for a fault) with the one-line reason.
Http_Answer Refuse(const Outcome& outcome) {
  return Plain(outcome.status == kExitFault ? 500 : 400, outcome.message);
}

// An output of the command line: cacheable for good with an ETag when its instant is fixed,
// never stored when it follows the clock.
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

std::shared_ptr<const std::string> Read_File(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return nullptr;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return std::make_shared<const std::string>(std::move(bytes).str());
}

// An at text that names its zone (Z or an offset), or none: the server can render its sky.
// One without a zone is the visitor's local time, which the element reads on the page.
bool Zoned(std::string_view at) {
  const std::size_t t = at.find('T');
  return t != std::string_view::npos &&
         (at.back() == 'Z' || at.find_first_of("+-", t) != std::string_view::npos);
}

// The page with the chart of each empty <zodiac-chart> tag written into it as its declarative
// shadow root, for the tag's at instant (the present one without at); a tag whose instant
// the server cannot render is left for the element's script.
std::string With_Charts_Rendered(std::string_view page) {
  constexpr std::string_view kOpen = "<zodiac-chart", kClose = "></zodiac-chart>";
  std::string out;
  out.reserve(page.size() + 3 * 32 * 1024);
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
    if ((instant == "now" || Zoned(instant)) &&
        Render_Shadow_Root(instant, "/", root, messages).status == kExitOk)
      out += root;
  }
  out += page.substr(at);
  return out;
}

bool Ends_With(std::string_view s, std::string_view end) {
  return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}
}  // namespace

Demo_Site::Demo_Site(const std::string& bundle_dir) {
  std::error_code ec;
  const fs::path root = fs::weakly_canonical(fs::path(bundle_dir), ec);
  if (ec) return;
  // Request path to file; symbolic links count only when they lead to a file inside root.
  std::map<std::string, fs::path> found;
  for (auto it = fs::recursive_directory_iterator(root, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;  // follows links: a link to a file counts
    if (it->is_symlink(ec)) {
      const fs::path target = fs::canonical(it->path(), ec);
      const fs::path inside = target.lexically_relative(root);
      if (ec || inside.empty() || *inside.begin() == "..") continue;
    }
    // Appended rather than "/" + path: GCC 12 at -O3 reports a false -Wrestrict overlap for
    // the concatenation, which breaks the Release build.
    std::string request_path = "/";
    request_path += it->path().lexically_relative(root).generic_string();
    found.emplace(std::move(request_path), it->path());
  }
  const auto newer_form = [&](const std::string& path, const char* suffix, Form& form) {
    const auto it = found.find(path + suffix);
    std::error_code e1, e2;
    if (it == found.end() ||
        fs::last_write_time(it->second, e1) < fs::last_write_time(found.at(path), e2) || e1 || e2)
      return;
    form.bytes = Read_File(it->second);
    if (form.bytes) form.etag = Etag_Of(*form.bytes);
  };
  for (const auto& [path, file_path] : found) {
    const bool compressed_form = (Ends_With(path, ".gz") || Ends_With(path, ".br")) &&
                                 found.count(path.substr(0, path.size() - 3));
    if (compressed_form) continue;
    File file;
    file.identity.bytes = Read_File(file_path);
    if (!file.identity.bytes) continue;
    file.identity.etag = Etag_Of(*file.identity.bytes);
    file.type = Mime_Type(file_path);
    file.page = file_path.extension() == ".html";
    newer_form(path, ".gz", file.gzip);
    newer_form(path, ".br", file.brotli);
    files_.emplace(path, std::move(file));
  }
}

// The demo page with its charts rendered: it follows the clock, so it is revalidated on each
// visit (its ETag is of the rendered page); sent uncompressed (the bundle's precompressed
// forms are of the page without charts).
Http_Answer Demo_Site::Rendered_Page(const std::string& page, const Http_Request& request) const {
  Http_Answer a = Output(With_Charts_Rendered(page), "text/html; charset=utf-8", true, request);
  for (auto& [name, value] : a.fields)
    if (name == "Cache-Control") value = "no-cache";
  if (a.status != 304) a.fields.emplace_back("Content-Security-Policy", kPageCsp);
  a.fields.emplace_back("Access-Control-Allow-Origin", "*");
  a.fields.emplace_back("Cross-Origin-Resource-Policy", "cross-origin");
  return a;
}

Http_Answer Demo_Site::Answer(const Http_Request& request) const {
  if (request.method != "GET" && request.method != "HEAD") {
    Http_Answer a = Plain(405, "only GET and HEAD");
    a.fields.emplace_back("Allow", "GET, HEAD");
    return a;
  }
  const std::string_view target = request.target;
  if (target.empty() || target[0] != '/') return Plain(400, "the request target must be a path");
  const std::size_t question = target.find('?');
  std::string path;
  std::map<std::string, std::string> params;
  if (!Percent_Decode(target.substr(0, question), false, path))
    return Plain(400, "malformed percent-encoding in the path");
  if (question != std::string_view::npos && !Read_Query(target.substr(question + 1), params))
    return Plain(400, "malformed percent-encoding in the query");
  const auto param = [&](const char* name, const char* fallback) {
    const auto it = params.find(name);
    return it == params.end() ? std::string(fallback) : it->second;
  };
  const std::string at = param("at", "now");
  const bool fixed = at != "now";

  if (path == "/chart.svg") {
    std::string svg;
    std::ostringstream messages;
    const Outcome o = Render_Chart(at, -1, svg, messages);
    if (o.status != kExitOk) return Refuse(o);
    Http_Answer a = Output(std::move(svg), "image/svg+xml; charset=utf-8", fixed, request);
    a.fields.emplace_back("Content-Security-Policy", kSvgCsp);
    return a;
  }
  if (path == "/chart.html") {
    std::string html;
    std::ostringstream messages;
    const Outcome o = Render_Chart_Html(at, fixed ? at : "", "/", html, messages);
    if (o.status != kExitOk) return Refuse(o);
    Http_Answer a = Output(std::move(html) + "\n", "text/html; charset=utf-8", fixed, request);
    if (a.status != 304) a.fields.emplace_back("Content-Security-Policy", kPageCsp);
    return a;
  }
  if (path == "/" || path == "/index.html") {
    const auto page = files_.find("/index.html");
    if (page != files_.end()) return Rendered_Page(*page->second.identity.bytes, request);
  }
  if (path == "/api/positions") {
    Sky sky;
    const Outcome o = Compute_Sky(at, sky);
    if (o.status != kExitOk) return Refuse(o);
    return Output(Positions_Json(sky) + "\n", "application/json", fixed, request);
  }
  if (path == "/api/analysis") {
    int sign;
    if (const Outcome o = Read_Sign(param("sign", ""), sign); o.status != kExitOk)
      return Refuse(o);
    Sky sky;
    std::string text;
    if (const Outcome o = Compute_Analysis(at, sign, sky, text); o.status != kExitOk)
      return Refuse(o);
    return Output(Analysis_Json(sky, sign, text) + "\n", "application/json", fixed, request);
  }

  // Everything else is a file of the bundle or nothing: the lookup is by exact name in the
  // list made at start, so no path (decoded ".." included) reaches outside it.
  const auto it = files_.find(path == "/" ? "/index.html" : path);
  if (it == files_.end()) return Plain(404, "not found");
  const File& file = it->second;
  const Form* form = &file.identity;
  const char* coding = nullptr;
  const double q_br = Quality(request.accept_encoding, "br");
  const double q_gzip = std::max(Quality(request.accept_encoding, "gzip"),
                                 Quality(request.accept_encoding, "x-gzip"));
  const auto smaller = [&](const Form& f) {
    return f.bytes && f.bytes->size() < file.identity.bytes->size();
  };
  if (q_br > 0 && q_br >= q_gzip && smaller(file.brotli)) {
    form = &file.brotli;
    coding = "br";
  } else if (q_gzip > 0 && smaller(file.gzip)) {
    form = &file.gzip;
    coding = "gzip";
  }

  Http_Answer a;
  a.body = form->bytes;
  if (Names_Etag(request.if_none_match, form->etag)) {
    a.status = 304;
    a.has_body = false;
  } else {
    a.fields.emplace_back("Content-Type", file.type);
    if (coding) a.fields.emplace_back("Content-Encoding", coding);
    if (file.page) a.fields.emplace_back("Content-Security-Policy", kPageCsp);
  }
  a.fields.emplace_back("ETag", form->etag);
  a.fields.emplace_back("Cache-Control", "no-cache");
  a.fields.emplace_back("Vary", "Accept-Encoding");
  // Another origin's page may load the element, its module and the .wasm.
  a.fields.emplace_back("Access-Control-Allow-Origin", "*");
  a.fields.emplace_back("Cross-Origin-Resource-Policy", "cross-origin");
  return a;
}
