// The bodies on the zodiac wheel and the aspect lines between them.
#include "render/chart.h"

#include <cfloat>
#include <cmath>
#include <iterator>

#include "analysis/orb_table.h"
#include "analysis/position_text.h"
#include "ephemeris/degrees.h"
#include "ephemeris/real.h"
#include "ephemeris/shared_state.h"
#include "render/wheel_geometry.h"

static_assert(std::size(kAspectPens) == std::size(kAspects));

namespace {
// Retrograde mark offset from the glyph's top left corner (twips).
constexpr double kMarkDx = 200;
constexpr double kMarkDy = 300;

// x rounded to single precision; FloatError when it overflows a float.
float Single(Real x) {
  if (!(std::fabs(x.value()) <= FLT_MAX)) throw FloatError();
  return static_cast<float>(x.value());
}

// Screen point of longitude lon at radius r.
struct Point {
  float x, y;
};
Point At(const Wheel& w, Real r, Real lon) {
  const Real a = w.Wheel_Rot + lon;
  return {Single(w.Wheel_X + r * Sin_Deg(a)), Single(w.Wheel_Y + r * Cos_Deg(a))};
}

// Records an aspect line drawn between bodies i < j when it joins their ticks (the body
// table is the one the ticks were drawn from), each pair once.
void Note_Aspect(Chart_Shown& shown, int i, int j, const Aspect* aspect) {
  const auto at_tick = [&](int k) {
    return shown.Ticked[k] && shown.Tick_Lon[k] == Pln_Rec[k].Lon;
  };
  if (!at_tick(i) || !at_tick(j)) return;
  for (const Drawn_Aspect& a : shown.Aspects)
    if (a.first == i && a.second == j) return;
  shown.Aspects.push_back({i, j, aspect});
}
}  // namespace

std::string Body_Tooltip(int i) {
  return Pln_Phrase(static_cast<std::int16_t>(i)) + Sign_PosText(Single(Pln_Rec[i].Lon));
}

void DrawThéme(Chart_Surface& chart) {
  Drawing_Layer& s = chart.Layer;
  Wheel& w = chart.Wheel_Vars;
  s.Cls();
  chart.Shown = {};
  w.Wheel_R = kWheelR;
  w.Wheel_Rot = kWheelRot;
  s.DrawWidth = 1;
  s.ForeColor = kTickColor;
  w.Wheel_X = kWheelX;
  w.Wheel_Y = kWheelY;
  const Real R = w.Wheel_R;
  const Real r_inner = R / kInnerDivisor;
  const Real r_outer = R / kTickOuterDivisor;
  const Real r_glyph = R / kGlyphDivisor;
  const Real offset = R / kGlyphOffsetDivisor;

  for (int i = 0; i < BodyIndex::Count; ++i) {
    s.ForeColor = kTickColor;
    const Real L = Pln_Rec[i].Lon;
    const Real a = w.Wheel_Rot + L;
    const Real sn = Sin_Deg(a);
    const Real cs = Cos_Deg(a);
    s.Line(Single(w.Wheel_X + r_inner * sn), Single(w.Wheel_Y + r_inner * cs),
           Single(w.Wheel_X + r_outer * sn), Single(w.Wheel_Y + r_outer * cs));
    chart.Shown.Ticked[i] = true;
    chart.Shown.Tick_Lon[i] = Pln_Rec[i].Lon;

    Child_Control& img = chart.ImgPln[i];
    img.Left = Single(w.Wheel_X + r_glyph * sn - offset - Real(img.Width) / 3.0);
    img.Top = Single(w.Wheel_Y + r_glyph * cs - offset - Real(img.Height) / 3.0);
    img.ToolTipText = Body_Tooltip(i);

    if (Pln_Rec[i].Retro == kTrue16) {
      s.CurrentX = Single(Real(img.Left) + kMarkDx);
      s.CurrentY = Single(Real(img.Top) + kMarkDy);
      s.Print(kRetroMark);
      chart.Shown.Retro_Marked[i] = true;
    }
  }
  ShowAspects_Pln(chart);
}

void ShowAspects_Pln(Chart_Surface& chart) {
  Drawing_Layer& s = chart.Layer;
  const Wheel& w = chart.Wheel_Vars;
  for (int i = 0; i < BodyIndex::Count - 1; ++i) {
    for (int j = i + 1; j < BodyIndex::Count; ++j) {
      const Real d = Abs(Real(Pln_Rec[i].Lon) - Pln_Rec[j].Lon);
      const Aspect* aspect = Aspect_Of(d);
      if (!aspect) continue;
      const Aspect_Pen& pen = kAspectPens[aspect->kind];
      s.ForeColor = pen.color;
      s.DrawStyle = pen.style;
      if (pen.wide) s.DrawWidth = 8;
      const Real r = Real(w.Wheel_R) / kInnerDivisor;
      const Point p = At(w, r, Pln_Rec[i].Lon);
      const Point q = At(w, r, Pln_Rec[j].Lon);
      s.Line(p.x, p.y, q.x, q.y);
      if (pen.wide) s.DrawWidth = 1;
      if (pen.style != kSolid) s.DrawStyle = kSolid;
      Note_Aspect(chart.Shown, i, j, aspect);
    }
  }
}

void Redraw_Chart(Chart_Surface& chart) {
  DrawThéme(chart);
  ShowAspects_Pln(chart);
}
