// SVG to PNG in-process: librsvg draws onto a cairo image surface, which is written as PNG.
#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cmath>
#include <memory>

#include "picture/picture.h"
#include "picture/picture_parts.h"

namespace {
cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}
}  // namespace

Svg_Handle Load_Svg(std::string_view svg) {
  GError* error = nullptr;
  RsvgHandle* handle = rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()),
                                                 svg.size(), &error);
  if (!handle) {
    const std::string why = error ? error->message : "unknown error";
    if (error) g_error_free(error);
    throw Picture_Error("the SVG cannot be read: " + why);
  }
  // Our SVG names no external files; the pictures it shows are data: URIs.
  rsvg_handle_set_dpi(handle, 96);
  return Svg_Handle(handle);
}

void Svg_Handle_Deleter::operator()(RsvgHandle* h) const { g_object_unref(h); }

void Draw_Svg(RsvgHandle* handle, cairo_t* cr, double x, double y, double width, double height) {
  const RsvgRectangle viewport{x, y, width, height};
  GError* error = nullptr;
  if (!rsvg_handle_render_document(handle, cr, &viewport, &error)) {
    const std::string why = error ? error->message : "unknown error";
    if (error) g_error_free(error);
    throw Picture_Error("the SVG cannot be drawn: " + why);
  }
}

std::string Surface_Png(cairo_surface_t* surface) {
  std::string png;
  cairo_surface_flush(surface);
  if (cairo_surface_write_to_png_stream(surface, Append, &png) != CAIRO_STATUS_SUCCESS)
    throw Picture_Error("the PNG cannot be written");
  return png;
}

Surface Svg_Surface(std::string_view svg, int scale) {
  if (scale < kMinScale || scale > kMaxScale) throw Picture_Error("the scale must be 1 to 4");
  const Svg_Handle handle = Load_Svg(svg);
  double width = 0, height = 0;
  if (!rsvg_handle_get_intrinsic_size_in_pixels(handle.get(), &width, &height) || width < 1 ||
      height < 1 || width > 4096 || height > 4096)
    throw Picture_Error("the SVG has no usable size in pixels");
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32,
                                             static_cast<int>(std::ceil(width * scale)),
                                             static_cast<int>(std::ceil(height * scale))));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    throw Picture_Error("no memory for the picture");
  cairo_t* cr = cairo_create(surface.get());
  cairo_scale(cr, scale, scale);
  try {
    Draw_Svg(handle.get(), cr, 0, 0, width, height);
  } catch (...) {
    cairo_destroy(cr);
    throw;
  }
  cairo_destroy(cr);
  return surface;
}

std::string Svg_Png(std::string_view svg, int scale) {
  return Surface_Png(Svg_Surface(svg, scale).get());
}
