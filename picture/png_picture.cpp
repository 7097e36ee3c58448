// SVG to PNG in-process: librsvg draws onto a cairo image surface, which libpng writes.
#include <cairo.h>
#include <librsvg/rsvg.h>
#include <png.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "picture/picture.h"
#include "picture/picture_parts.h"
#include "render/assets.h"
#include "ui/surface.h"

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

// Written by libpng rather than cairo's writer (zlib's default level 6, every filter tried on
// each row): zlib level 1 after the Sub filter alone takes a quarter of the time for files
// about 15 % larger (the card: 13 instead of 50 ms). Opaque
// pictures go out as RGB, the others as RGBA with the alpha undone.
std::string Surface_Png(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const bool has_alpha = cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32;
  bool opaque = true;
  for (int y = 0; opaque && has_alpha && y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (data[y * stride + 4 * x + 3] != 255) {  // little-endian: B G R A
        opaque = false;
        break;
      }
  const int channels = opaque ? 3 : 4;

  std::string png;
  png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = writer ? png_create_info_struct(writer) : nullptr;
  if (!info) {
    png_destroy_write_struct(&writer, nullptr);
    throw Picture_Error("the PNG cannot be written");
  }
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * channels);
  if (setjmp(png_jmpbuf(writer))) {
    png_destroy_write_struct(&writer, &info);
    throw Picture_Error("the PNG cannot be written");
  }
  png_set_write_fn(
      writer, &png,
      [](png_structp p, png_bytep bytes, png_size_t n) {
        static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<const char*>(bytes), n);
      },
      nullptr);
  png_set_IHDR(writer, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(writer, 1);
  png_set_filter(writer, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
  png_write_info(writer, info);
  for (int y = 0; y < height; ++y) {
    const unsigned char* in = data + static_cast<std::ptrdiff_t>(y) * stride;
    unsigned char* out = row.data();
    for (int x = 0; x < width; ++x, in += 4, out += channels) {
      const unsigned a = has_alpha ? in[3] : 255;
      const auto undo = [a](unsigned c) {
        return static_cast<unsigned char>(a == 255 ? c : a == 0 ? 0 : (c * 255 + a / 2) / a);
      };
      out[0] = undo(in[2]), out[1] = undo(in[1]), out[2] = undo(in[0]);
      if (channels == 4) out[3] = static_cast<unsigned char>(a);
    }
    png_write_row(writer, row.data());
  }
  png_write_end(writer, nullptr);
  png_destroy_write_struct(&writer, &info);
  return png;
}

namespace {
// The control's surface colour and background picture drawn for one placement: the device
// scale of a twip and the fraction of a pixel the chart's origin falls at. A thread keeps the
// placements it drew last, up to kCacheBytes of pixels (the 1x and 2x charts with and without
// the window and the card take 7 MB, a 3x one 8.5 MB more; a 4x one alone is 15 MB).
constexpr std::size_t kCacheBytes = 16 << 20;

struct Background {
  double sx, sy, fx, fy;
  Surface pixels;
  std::size_t Bytes() const {
    return static_cast<std::size_t>(cairo_image_surface_get_stride(pixels.get())) *
           static_cast<std::size_t>(cairo_image_surface_get_height(pixels.get()));
  }
};

Surface Draw_Background(double sx, double sy, double fx, double fy) {
  Surface pixels(cairo_image_surface_create(CAIRO_FORMAT_ARGB32,
                                            static_cast<int>(std::ceil(fx + kDesignWidth * sx)),
                                            static_cast<int>(std::ceil(fy + kDesignHeight * sy))));
  if (cairo_surface_status(pixels.get()) != CAIRO_STATUS_SUCCESS)
    throw Picture_Error("no memory for the picture");
  cairo_t* cr = cairo_create(pixels.get());
  const std::uint32_t bgr = kSurfaceBackColor;
  cairo_set_source_rgb(cr, (bgr & 0xFF) / 255.0, ((bgr >> 8) & 0xFF) / 255.0, (bgr >> 16) / 255.0);
  cairo_rectangle(cr, fx, fy, kDesignWidth * sx, kDesignHeight * sy);
  cairo_fill(cr);
  try {
    Draw_Svg(Load_Svg(Asset_Svg(kBackgroundPicture)).get(), cr, fx, fy, kBackgroundWidth * sx,
             kBackgroundHeight * sy);
  } catch (...) {
    cairo_destroy(cr);
    throw;
  }
  cairo_destroy(cr);
  return pixels;
}

// Paints the background for the placement at the whole pixel (x, y) of cr.
void Paint_Background(cairo_t* cr, double sx, double sy, double fx, double fy, double x, double y) {
  thread_local std::vector<Background> cache;
  const auto paint = [&](const Surface& pixels) {
    cairo_set_source_surface(cr, pixels.get(), x, y);
    cairo_paint(cr);
  };
  for (const Background& b : cache)
    if (b.sx == sx && b.sy == sy && b.fx == fx && b.fy == fy) return paint(b.pixels);
  Background made{sx, sy, fx, fy, Draw_Background(sx, sy, fx, fy)};
  paint(made.pixels);
  if (made.Bytes() > kCacheBytes) return;
  std::size_t total = made.Bytes();
  for (const Background& b : cache) total += b.Bytes();
  while (total > kCacheBytes) {
    total -= cache.front().Bytes();
    cache.erase(cache.begin());
  }
  cache.push_back(std::move(made));
}
}  // namespace

void Draw_Chart(cairo_t* cr, std::string_view svg, double x, double y, double width,
                double height) {
  const Svg_Handle handle = Load_Svg(svg);
  gboolean has_width, has_height, has_view;
  RsvgLength w, h;
  RsvgRectangle view;
  rsvg_handle_get_intrinsic_dimensions(handle.get(), &has_width, &w, &has_height, &h, &has_view,
                                       &view);
  if (!has_view || view.width <= 0 || view.height <= 0)
    throw Picture_Error("the chart's SVG has no viewBox");
  // The background as drawn at this placement: the same pixels each time, painted at a whole
  // pixel offset (an exact copy), its fraction of a pixel drawn into it.
  const double sx = width / view.width, sy = height / view.height;
  const double bx = x - view.x * sx, by = y - view.y * sy;
  Paint_Background(cr, sx, sy, bx - std::floor(bx), by - std::floor(by), std::floor(bx),
                   std::floor(by));
  Draw_Svg(handle.get(), cr, x, y, width, height);
}

Surface Chart_Surface(std::string_view svg, int scale) {
  if (scale < kMinScale || scale > kMaxScale) throw Picture_Error("the scale must be 1 to 4");
  double width = 0, height = 0;
  if (!rsvg_handle_get_intrinsic_size_in_pixels(Load_Svg(svg).get(), &width, &height) ||
      width < 1 || height < 1 || width > 4096 || height > 4096)
    throw Picture_Error("the SVG has no usable size in pixels");
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32,
                                             static_cast<int>(std::ceil(width * scale)),
                                             static_cast<int>(std::ceil(height * scale))));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    throw Picture_Error("no memory for the picture");
  cairo_t* cr = cairo_create(surface.get());
  try {
    Draw_Chart(cr, svg, 0, 0, width * scale, height * scale);
  } catch (...) {
    cairo_destroy(cr);
    throw;
  }
  cairo_destroy(cr);
  return surface;
}

std::string Chart_Png(std::string_view chart_svg, int scale) {
  return Surface_Png(Chart_Surface(chart_svg, scale).get());
}
