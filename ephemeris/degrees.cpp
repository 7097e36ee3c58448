// Angle helpers in degrees.
#include "ephemeris/degrees.h"

#include <cstdint>

namespace {
// Radians to degrees, as (angle · 45) / atan(1).
Real ToDeg(Real radians) { return radians * 45.0 / kAtn1; }
}  // namespace

Real ASin_Deg(Real x) {
  if (Abs(x) == 1.0) return 90.0 * x;
  const Real root = Sqrt(-x * x + 1.0);
  return ToDeg(Atan(x / root));
}

Real ACos_Deg(Real x) {
  if (Abs(x) == 1.0) return (0.5 - x / 2.0) * 180.0;
  const Real root = Sqrt(-x * x + 1.0);
  return ToDeg(2.0 * kAtn1 + Atan(-x / root));
}

Real Atn_Deg(Real x) { return ToDeg(Atan(x)); }

Real Norm_360(Real x) {
  if (x > 360.0) {
    const Real q = x / 360.0;
    x = (q - Trunc(q)) * 360.0;
  }
  if (x < 0.0) {
    const Real q = x / 360.0;
    x = (q - Trunc(q)) * 360.0 + 360.0;
  }
  return x;
}

std::string Sign_DegText(Real x) {
  const Real q = x / 30.0;
  const auto r = static_cast<float>(((q - Trunc(q)) * 30.0).value());
  auto n = static_cast<std::int16_t>(std::nearbyint(r));  // nearest, halves to even
  if (n == 30) n = 29;
  return std::to_string(n) + " جة ";
}
