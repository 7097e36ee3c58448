// The steps the pictures share, for the card and for tests that look at the pixels.
#pragma once

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <memory>
#include <string>
#include <string_view>

struct Surface_Deleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Surface = std::unique_ptr<cairo_surface_t, Surface_Deleter>;

struct Svg_Handle_Deleter {
  void operator()(RsvgHandle* h) const;
};
using Svg_Handle = std::unique_ptr<RsvgHandle, Svg_Handle_Deleter>;

// An SVG document read by librsvg; raises Picture_Error when it cannot be read.
Svg_Handle Load_Svg(std::string_view svg);
// Draws the document into the rectangle (x, y, width, height) of cr's user space.
void Draw_Svg(RsvgHandle* handle, cairo_t* cr, double x, double y, double width, double height);
// A chart SVG for pictures (Chart_Svg(..., Svg_Use::For_Picture)) drawn into the rectangle
// (x, y, width, height) of cr's device space (cr untransformed) over the control's surface colour and
// background picture, which each thread draws once per placement and keeps.
void Draw_Chart(cairo_t* cr, std::string_view svg, double x, double y, double width,
                double height);
// Such a chart at scale times its size in pixels, on an ARGB image surface.
Surface Chart_Surface(std::string_view svg, int scale);
// The surface as PNG bytes.
std::string Surface_Png(cairo_surface_t* surface);
