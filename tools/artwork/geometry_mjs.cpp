// Writes tools/artwork/geometry.mjs, the geometry the artwork tools build the background and
// its preview with, from the numbers the control draws with: the wheel (render/), the surface
// (ui/) and the design layout (control/). One source, so the picture and the drawing cannot
// drift apart.
//   geometry-mjs                 prints the module
//   geometry-mjs --check FILE    exit status 1 when FILE differs from it
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "control/layout.h"
#include "render/wheel_geometry.h"
#include "ui/surface.h"

namespace {
// Shortest text that reads back to the same double, in JS as in C++.
std::string Num(double x) {
  char buf[32];
  const auto res = std::to_chars(buf, buf + sizeof buf, x);
  return std::string(buf, res.ptr);
}

// How far the date label's text may grow to the right: the artwork keeps this part of the
// picture clear of text.
constexpr double kDateLabelRight = 7500;

std::string Module() {
  const Child_Control date = Design_LabDate();
  const double glyph = Design_ImgPln()[0].Width;
  // The glyph box's top left is the reference point less kWheelR / kGlyphOffsetDivisor and a
  // third of the size; from the box's centre that is this shift.
  const double shift = glyph / 2 - kWheelR / kGlyphOffsetDivisor - glyph / 3;
  std::ostringstream o;
  o << "// Geometry shared by the background picture and its preview, in twips (15 to a CSS\n"
       "// pixel), origin top left, y down. Written by tools/artwork/geometry_mjs.cpp from the\n"
       "// control's own constants; do not edit: rebuild and run\n"
       "//   build/geometry-mjs > tools/artwork/geometry.mjs\n\n"
       "export const TWIPS_PER_PX = 15;\n"
    << "export const PICTURE = { width: " << Num(kBackgroundWidth)
    << ", height: " << Num(kBackgroundHeight) << " };\n"
    << "export const CONTROL = { width: " << Num(kDesignWidth) << ", height: " << Num(kDesignHeight)
    << " };\n\n"
       "// The zodiac wheel: centre, the inner circle the aspect chords live in, the outer edge\n"
       "// of the sign ring (where body ticks end) and the radius the body glyphs are placed at.\n"
       "export const WHEEL = {\n"
    << "  cx: " << Num(kWheelX) << ",\n"
    << "  cy: " << Num(kWheelY) << ",\n"
    << "  inner: " << Num(kWheelR) << " / " << Num(kInnerDivisor) << ",\n"
    << "  outer: " << Num(kWheelR) << " / " << Num(kTickOuterDivisor) << ",\n"
    << "  body: " << Num(kWheelR) << " / " << Num(kGlyphDivisor) << ",\n"
    << "};\n\n"
    << "// The body glyph images: " << Num(glyph) << " x " << Num(glyph)
    << " twips, centred at the body radius shifted by this much.\n"
    << "export const BODY_GLYPH = { size: " << Num(glyph) << ", shift: " << Num(shift)
    << " };\n\n"
       "// The date label: its top left, and how far it may grow.\n"
    << "export const DATE_LABEL = { left: " << Num(date.Left) << ", top: " << Num(date.Top)
    << ", right: " << Num(kDateLabelRight) << ", height: " << Num(date.Height) << " };\n\n"
       "// The twelve sign labels, Aries first: left, top, width, height.\n"
       "export const SIGN_LABELS = [\n";
  const auto labels = Design_LabAnalyse();
  for (std::size_t k = 0; k < labels.size(); ++k) {
    const Child_Control& c = labels[k];
    o << (k % 3 == 0 ? "  " : " ") << '[' << Num(c.Left) << ", " << Num(c.Top) << ", "
      << Num(c.Width) << ", " << Num(c.Height) << "],";
    if (k % 3 == 2) o << '\n';
  }
  o << "].map(([left, top, width, height]) => ({ left, top, width, height }));\n\n"
       "// Returns the screen point { x, y } of ecliptic longitude `lonDeg` (degrees) at radius\n"
       "// `r` (twips): 0\u00b0 of Aries lies straight left of the centre, and longitude runs\n"
       "// counter-clockwise on screen (90\u00b0 straight below, 270\u00b0 at the top).\n"
       "export function wheelPoint(lonDeg, r) {\n"
       "  const a = (lonDeg * Math.PI) / 180;\n"
       "  return { x: WHEEL.cx - r * Math.cos(a), y: WHEEL.cy + r * Math.sin(a) };\n"
       "}\n\n"
    << "// Returns the top left { left, top } (twips) of the " << Num(glyph) << " x " << Num(glyph)
    << " glyph image of a body at\n"
       "// longitude `lonDeg`.\n"
       "export function bodyGlyphBox(lonDeg) {\n"
       "  const p = wheelPoint(lonDeg, WHEEL.body);\n"
       "  const half = BODY_GLYPH.size / 2;\n"
       "  return { left: p.x + BODY_GLYPH.shift - half, top: p.y + BODY_GLYPH.shift - half };\n"
       "}\n";
  return o.str();
}
}  // namespace

int main(int argc, char** argv) {
  const std::string module = Module();
  if (argc == 1) {
    std::cout << module;
    return std::cout.flush() ? 0 : 2;
  }
  if (argc == 3 && std::string(argv[1]) == "--check") {
    std::ifstream in(argv[2], std::ios::binary);
    const std::string file{std::istreambuf_iterator<char>(in), {}};
    if (in.bad() || file != module) {
      std::fprintf(stderr, "%s differs from the control's geometry: run geometry-mjs\n", argv[2]);
      return 1;
    }
    return 0;
  }
  std::fprintf(stderr, "usage: geometry-mjs [--check FILE]\n");
  return 2;
}
