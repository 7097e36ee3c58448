// The service's outputs over HTTP: /chart.svg, /api/positions, /api/analysis and the pictures.
#pragma once

#include <optional>

#include "server/http_message.h"
#include "server/request_target.h"

// The answer when target names one of the output routes, nothing otherwise:
//   /chart.svg?at=INSTANT                 the render output
//   /chart.html?at=INSTANT                render --html's fragment (at attribute when given)
//   /api/positions?at=INSTANT             positions --json
//   /api/analysis?sign=SIGN&at=INSTANT    analysis --json
//   /chart.png?at=INSTANT[&scale=N][&analysis=SIGN]   render --png (N 1..4, default 1)
//   /card.png?sign=SIGN[&at=INSTANT]      render --card
// The outputs for a given instant never change: they are cacheable for a year, with an ETag
// (304 when If-None-Match names it); those for "now" (the default) are not to be stored. A
// refused input gets 400 with its one-line reason, a computation fault 500. A picture's ETag
// is that of what it is drawn from, so a 304 costs no drawing.
std::optional<Http_Answer> Output_Route(const Request_Target& target, const Http_Request& request);

// The demo page with the chart of each of its empty <zodiac-chart> tags rendered in (for a
// tag's at when it names its zone, or the present instant without at; others are left to the
// script): no-cache with the rendered page's ETag, the page's CSP; sent uncompressed.
Http_Answer Rendered_Page(std::string_view page, const Http_Request& request);

// Whether path (decoded) is a route that draws a picture.
bool Is_Picture_Route(std::string_view path);
