// What the demo server answers, apart from any socket: the web bundle read into memory at
// start (Bundle_Store), the service's outputs (Output_Route), and the request's rules.
#pragma once

#include <string>

#include "server/bundle_store.h"
#include "server/http_message.h"

class Demo_Site {
 public:
  // Reads the bundle under bundle_dir (see Bundle_Store).
  explicit Demo_Site(const std::string& bundle_dir) : bundle_(bundle_dir) {}

  std::size_t File_Count() const { return bundle_.File_Count(); }

  // The answer to request; HEAD is answered like GET (the caller leaves the body out):
  //   /                                     the demo page (index.html), with the page's CSP,
  //                                         its charts rendered in (Rendered_Page)
  //   /FILE                                 a bundle file (Bundle_Store::Answer)
  //   /chart.svg, /chart.html, /api/positions, /api/analysis, /chart.png, /card.png   the outputs
  //                                         (Output_Route)
  // A repeated query parameter: the last counts. A malformed target gets 400 with a one-line
  // reason, any other path 404, another method 405.
  Http_Answer Answer(const Http_Request& request) const;

  // Whether the request target (path and query, undecoded) asks for a picture: those answers
  // take tens of milliseconds of CPU, the others well under one.
  static bool Draws_Picture(std::string_view target);

 private:
  Bundle_Store bundle_;
};
