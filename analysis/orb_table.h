// The five aspects between two bodies, shared by the aspect lines of the chart and the aspect
// scores of the analysis: each fires when the separation d of two longitudes (degrees,
// 0..360, not folded to 0..180) lies strictly within the aspect's orb of its angle A or, but
// for the opposition, of 360 − A. The conjunction needs d > 0. The ranges do not overlap, so
// a pair makes at most one aspect.
#pragma once

#include <iterator>

enum Aspect_Kind { kConjunction, kSextile, kSquare, kOpposition, kTrine };

struct Aspect {
  Aspect_Kind kind;
  int angle, orb;    // degrees
  const char* name;  // Arabic
};

// In the order they are tested.
inline constexpr Aspect kAspects[] = {
    {kConjunction, 0, 10, "اقتران"}, {kSextile, 60, 6, "تسديس"}, {kSquare, 90, 8, "تربيع"},
    {kOpposition, 180, 10, "مقابلة"}, {kTrine, 120, 8, "تثليث"},
};
static_assert(std::size(kAspects) == 5);

// Whether separation d makes aspect a, compared in the caller's number type (the lines use
// checked doubles, the scores single precision); the limits are whole numbers.
template <class Number>
bool Within_Orb(const Aspect& a, Number d) {
  const int below = a.angle == 0 ? 0 : a.angle - a.orb;
  if (d > below && d < a.angle + a.orb) return true;
  if (a.angle == 180) return false;
  return d > 360 - a.angle - a.orb && d < 360 - a.angle + a.orb;
}

// The aspect that separation d makes, or nullptr.
template <class Number>
const Aspect* Aspect_Of(Number d) {
  for (const Aspect& a : kAspects)
    if (Within_Orb(a, d)) return &a;
  return nullptr;
}
