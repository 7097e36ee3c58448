// The bundle's files. Nothing is compressed per request: scripts/build-web writes FILE.gz and
// FILE.br beside each bundle file once.
#include "server/bundle_store.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "server/negotiation.h"

namespace {
namespace fs = std::filesystem;

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

std::shared_ptr<const std::string> Read_File(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return nullptr;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return std::make_shared<const std::string>(std::move(bytes).str());
}

bool Ends_With(std::string_view s, std::string_view end) {
  return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}
}  // namespace

Bundle_Store::Bundle_Store(const std::string& bundle_dir) {
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

Http_Answer Bundle_Store::Answer(const std::string& path, const Http_Request& request) const {
  const auto it = files_.find(path == "/" ? "/index.html" : path);
  if (it == files_.end()) return Plain_Answer(404, "not found");
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
