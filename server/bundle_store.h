// The web bundle held in memory: every file read once at start with its compressed forms
// beside it, and the answer for a file in the form the request accepts.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "server/http_message.h"

class Bundle_Store {
 public:
  // Reads every regular file under bundle_dir (and symbolic links to files inside it) with
  // FILE.gz and FILE.br beside it, when they are at least as new, as its gzip and Brotli forms.
  // A folder that cannot be read gives an empty store.
  explicit Bundle_Store(const std::string& bundle_dir);

  std::size_t File_Count() const { return files_.size(); }

  // The file at request path ("/" is "/index.html"): Cache-Control no-cache, an ETag, the
  // smallest form Accept-Encoding allows, the page's CSP for an HTML page; 304 when
  // If-None-Match names the form's ETag; 404 when there is no such file. The lookup is by
  // exact name in the list made at start, so no path (decoded ".." included) reaches outside.
  Http_Answer Answer(const std::string& path, const Http_Request& request) const;

 private:
  struct Form {  // one encoding of a file
    std::shared_ptr<const std::string> bytes;
    std::string etag;
  };
  struct File {
    std::string type;
    bool page = false;    // an HTML page: served with the page's CSP
    Form identity, gzip, brotli;  // gzip and brotli: bytes null when absent
  };
  std::map<std::string, File, std::less<>> files_;  // request path ("/index.html") to file
};
