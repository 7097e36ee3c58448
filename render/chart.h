// The chart on the zodiac wheel: each body's tick, glyph, tooltip and retrograde mark, the
// aspect lines between bodies, and the redraw of the whole chart. The wheel itself is the
// background picture; everything here is drawn above it from the body table Pln_Rec.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/orb_table.h"
#include "render/drawing_layer.h"
#include "ui/child_control.h"

// Tick and retrograde-mark colour (0x00BBGGRR; red 89, green 159, blue 172).
inline constexpr std::uint32_t kTickColor = 0xAC9F59;
// The pen of each aspect line, by Aspect_Kind (analysis/orb_table.h).
struct Aspect_Pen {
  std::uint32_t color;  // 0x00BBGGRR
  int style;
  bool wide;  // drawn 8 pixels wide, then the width is set back to 1
};
inline constexpr Aspect_Pen kAspectPens[] = {
    {0x0000FF, kSolid, true},   // conjunction: red, 8 pixels wide
    {0x00C000, kSolid, false},  // sextile: green
    {0x8080FF, kDash, false},   // square: dashed light red
    {0x0080FF, kDot, false},    // opposition: dotted orange
    {0xFF8080, kSolid, false},  // trine: light blue
};
// The retrograde mark.
inline constexpr const char kRetroMark[] = "(ع)";

// The wheel variables of one control; zero until the first DrawThéme.
struct Wheel {
  double Wheel_R = 0;         // scale length (twips); every radius is Wheel_R over a constant
  std::int16_t Wheel_Rot = 0; // degrees added to a longitude before its sine and cosine
  double Wheel_X = 0;         // centre (twips)
  double Wheel_Y = 0;
};

// What a chart shows, in the model's terms, as DrawThéme and ShowAspects_Pln drew it from the
// body table: which glyphs carry the retrograde mark, and which aspect lines join which two
// bodies' ticks (each pair once, in the order first drawn). Cleared with the layer.
struct Drawn_Aspect {
  int first, second;  // BodyIndex, first < second
  const Aspect* aspect;
};
struct Chart_Shown {
  std::array<bool, 10> Retro_Marked{};
  std::array<double, 10> Tick_Lon{};    // the longitude each tick was drawn at
  std::array<bool, 10> Ticked{};        // whether the tick was drawn
  std::vector<Drawn_Aspect> Aspects;
};

// What the chart drawing acts on: one control's drawing layer, wheel variables, the ten
// body glyph images in BodyIndex order, and what the drawing shows.
struct Chart_Surface {
  Drawing_Layer Layer;
  Wheel Wheel_Vars;
  std::array<Child_Control, 10> ImgPln;
  Chart_Shown Shown;
};

// The tooltip of body i: Pln_Phrase(i) followed by Sign_PosText of its longitude rounded to
// single precision.
std::string Body_Tooltip(int i);

// Clears the layer and, for each body in BodyIndex order, draws its radial tick from radius
// Wheel_R/4.6 to Wheel_R/2.9 (single precision), moves its glyph just outside the wheel,
// sets the glyph's tooltip and prints "(ع)" by a retrograde glyph; then ShowAspects_Pln.
// Screen position of longitude L at radius r: (X + r·sin(Rot + L), Y + r·cos(Rot + L)).
// Coordinates are rounded to single precision. A FloatError stops it where it happens:
// bodies already done stay drawn and placed.
void DrawThéme(Chart_Surface& chart);

// For each pair i < j of bodies 0..9, d = |Lon(i) − Lon(j)|: a conjunction (0 < d < 10 or
// d > 350) in red 8 pixels wide, a sextile (54..66, 294..306) in green, a square (82..98,
// 262..278) dashed light red, an opposition (170..190) dotted orange or a trine (112..128,
// 232..248) in light blue, all limits strict, as a chord of the circle of radius
// Wheel_R/4.6 between the two tick ends. Adds to the layer; erases nothing.
void ShowAspects_Pln(Chart_Surface& chart);

// The redraw on every resize: DrawThéme, then ShowAspects_Pln once more (each aspect line is
// drawn twice over itself). Reads no size and moves no other child.
void Redraw_Chart(Chart_Surface& chart);
