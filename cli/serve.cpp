// The demo server on cpp-httplib.
#include "cli/serve.h"

#include <httplib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string_view>

#include "cli/json_output.h"
#include "cli/render.h"
#include "cli/sky.h"

namespace {
namespace fs = std::filesystem;

// An SVG document shows its pictures as data: URIs and styles its text inline; it runs no
// script.
constexpr const char kSvgCsp[] = "default-src 'none'; img-src data:; style-src 'unsafe-inline'";

// cpp-httplib 0.11 compresses text/*, "image/svg+xml" and "application/javascript" on every
// request, with Brotli at its highest quality when the browser accepts it: 40 ms for the
// element's 27 KB, most of the time to the first chart. Scripts and SVG go out with a charset
// parameter, which it leaves alone, as they are: on the loopback the demo serves that is
// fastest. The small page and stylesheet are still compressed.
constexpr const char kSvgType[] = "image/svg+xml; charset=utf-8";

std::string_view Mime_Type(const fs::path& file) {
  static const std::map<std::string, std::string_view, std::less<>> kTypes = {
      {".html", "text/html; charset=utf-8"},
      {".js", "application/javascript; charset=utf-8"},
      {".mjs", "application/javascript; charset=utf-8"},
      {".wasm", "application/wasm"},
      {".css", "text/css; charset=utf-8"},
      {".svg", kSvgType},
      {".json", "application/json"},
      {".png", "image/png"},
      {".txt", "text/plain; charset=utf-8"},
  };
  const auto it = kTypes.find(file.extension().string());
  return it == kTypes.end() ? "application/octet-stream" : it->second;
}

void Reply(httplib::Response& res, int status, const std::string& body, std::string_view type) {
  res.status = status;
  res.set_content(body, std::string(type).c_str());
}

// A refused query: 400 (or 500 for a fault) with the one-line reason.
void Refuse(httplib::Response& res, const Outcome& outcome) {
  std::string line = outcome.message;
  for (char& c : line)
    if (c == '\n' || c == '\r') c = ' ';
  Reply(res, outcome.status == kExitFault ? 500 : 400, line + "\n", "text/plain; charset=utf-8");
}

std::string Param(const httplib::Request& req, const char* name, const char* fallback) {
  return req.has_param(name) ? req.get_param_value(name) : fallback;
}
}  // namespace

struct Demo_Server::Impl {
  httplib::Server server;
  std::map<std::string, fs::path> files;  // request path ("/index.html") to file
};

Demo_Server::Demo_Server(const std::string& bundle_dir) : impl_(std::make_unique<Impl>()) {
  std::error_code ec;
  const fs::path root = fs::path(bundle_dir);
  for (auto it = fs::recursive_directory_iterator(root, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_regular_file(ec) && !it->is_symlink(ec)) {
      // Appended rather than "/" + path: GCC 12 at -O3 reports a false -Wrestrict overlap for
      // the concatenation, which breaks the Release build.
      std::string request_path = "/";
      request_path += it->path().lexically_relative(root).generic_string();
      impl_->files[request_path] = it->path();
    }
  }

  httplib::Server& s = impl_->server;
  s.set_default_headers({{"X-Content-Type-Options", "nosniff"}, {"Cache-Control", "no-cache"}});
  s.set_pre_routing_handler([](const httplib::Request& req, httplib::Response& res) {
    if (req.method == "GET" || req.method == "HEAD") return httplib::Server::HandlerResponse::Unhandled;
    res.set_header("Allow", "GET, HEAD");
    Reply(res, 405, "only GET and HEAD\n", "text/plain; charset=utf-8");
    return httplib::Server::HandlerResponse::Handled;
  });

  s.Get("/chart.svg", [](const httplib::Request& req, httplib::Response& res) {
    std::string svg;
    std::ostringstream messages;
    const Outcome o = Render_Chart(Param(req, "at", "now"), -1, svg, messages);
    if (o.status != kExitOk) return Refuse(res, o);
    res.set_header("Content-Security-Policy", kSvgCsp);
    Reply(res, 200, svg, kSvgType);
  });
  s.Get("/api/positions", [](const httplib::Request& req, httplib::Response& res) {
    Sky sky;
    const Outcome o = Compute_Sky(Param(req, "at", "now"), sky);
    if (o.status != kExitOk) return Refuse(res, o);
    Reply(res, 200, Positions_Json(sky) + "\n", "application/json");
  });
  s.Get("/api/analysis", [](const httplib::Request& req, httplib::Response& res) {
    int sign;
    if (const Outcome o = Read_Sign(Param(req, "sign", ""), sign); o.status != kExitOk)
      return Refuse(res, o);
    Sky sky;
    std::string text;
    if (const Outcome o = Compute_Analysis(Param(req, "at", "now"), sign, sky, text);
        o.status != kExitOk)
      return Refuse(res, o);
    Reply(res, 200, Analysis_Json(sky, sign, text) + "\n", "application/json");
  });
  // Everything else is a file of the bundle or nothing: the lookup is by exact name in the
  // list made at start, so no path (decoded ".." included) reaches outside it.
  s.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
    const std::string path = req.path == "/" ? "/index.html" : req.path;
    const auto it = impl_->files.find(path);
    if (it == impl_->files.end()) return Reply(res, 404, "not found\n", "text/plain; charset=utf-8");
    std::ifstream in(it->second, std::ios::binary);
    if (!in) return Reply(res, 404, "not found\n", "text/plain; charset=utf-8");
    std::ostringstream body;
    body << in.rdbuf();
    if (it->second.extension() == ".html") res.set_header("Content-Security-Policy", kPageCsp);
    // A page on another origin may embed the widget from here: its module and .wasm are
    // fetched with CORS, and a page with Cross-Origin-Embedder-Policy loads the artwork too.
    res.set_header("Access-Control-Allow-Origin", "*");
    res.set_header("Cross-Origin-Resource-Policy", "cross-origin");
    Reply(res, 200, body.str(), Mime_Type(it->second));
  });
}

Demo_Server::~Demo_Server() = default;

std::size_t Demo_Server::File_Count() const { return impl_->files.size(); }

int Demo_Server::Bind(const std::string& host, int port) {
  if (port == 0) return impl_->server.bind_to_any_port(host);
  return impl_->server.bind_to_port(host, port) ? port : -1;
}

bool Demo_Server::Listen() { return impl_->server.listen_after_bind(); }

void Demo_Server::Stop() { impl_->server.stop(); }
