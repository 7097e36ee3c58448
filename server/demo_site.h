// What the demo server answers, apart from any socket: the web bundle read into memory at
// start, the routes for the command line's outputs, and the caching and encoding rules.
#pragma once

#include <map>
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

class Demo_Site {
 public:
  // Reads every regular file under bundle_dir (and symbolic links to files inside it) with
  // FILE.gz and FILE.br beside it, when they are at least as new, as its gzip and Brotli forms.
  explicit Demo_Site(const std::string& bundle_dir);

  std::size_t File_Count() const { return files_.size(); }

  // The answer to request; HEAD is answered like GET (the caller leaves the body out):
  //   /                                     the demo page (index.html), with the page's CSP,
  //                                         its charts rendered in (never stored)
  //   /FILE                                 a bundle file: Cache-Control no-cache, an ETag,
  //                                         the smallest form Accept-Encoding allows
  //   /chart.svg?at=INSTANT                 the render output
  //   /chart.html?at=INSTANT                render --html's fragment (the at attribute only
  //                                         when at is given)
  //   /api/positions?at=INSTANT             positions --json
  //   /api/analysis?sign=SIGN&at=INSTANT    analysis --json
  // The outputs for a given instant never change: they are cacheable for a year, with an ETag;
  // those for "now" (the default) are not to be stored. A repeated query parameter: the last
  // counts. A bad value gets 400 with a one-line reason, any other path 404, another method
  // 405; If-None-Match naming the current ETag gets 304.
  Http_Answer Answer(const Http_Request& request) const;

 private:
  Http_Answer Rendered_Page(const std::string& page, const Http_Request& request) const;
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
