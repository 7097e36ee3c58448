// Angle helpers in degrees and Kepler's equation (Meeus, Astronomical Formulae for
// Calculators: Newton's method for the eccentric anomaly).
#include "ephemeris/degrees.h"

#include <cmath>
#include <cstdint>

#include "ephemeris/float_check.h"

namespace {
// Radians to degrees, as (angle · 45) / atan(1).
double ToDeg(double radians) { return Chk(Chk(radians * 45.0) / kAtn1); }
}  // namespace

double ASin_Deg(double x) {
  Chk(x);
  if (std::fabs(x) == 1.0) return 90.0 * x;
  const double root = Chk(std::sqrt(Chk(Chk(-x * x) + 1.0)));
  return ToDeg(Chk(std::atan(Chk(x / root))));
}

double ACos_Deg(double x) {
  Chk(x);
  if (std::fabs(x) == 1.0) return Chk(Chk(0.5 - x / 2.0) * 180.0);
  const double root = Chk(std::sqrt(Chk(Chk(-x * x) + 1.0)));
  return ToDeg(Chk(2.0 * kAtn1 + Chk(std::atan(Chk(-x / root)))));
}

double Atn_Deg(double x) { return ToDeg(Chk(std::atan(Chk(x)))); }

double Norm_360(double x) {
  Chk(x);
  if (x > 360.0) {
    const double q = Chk(x / 360.0);
    x = Chk((q - std::trunc(q)) * 360.0);
  }
  if (x < 0.0) {
    const double q = Chk(x / 360.0);
    x = Chk(Chk((q - std::trunc(q)) * 360.0) + 360.0);
  }
  return x;
}

std::string Sign_DegText(double x) {
  const double q = Chk(Chk(x) / 30.0);
  const float r = static_cast<float>(Chk((q - std::trunc(q)) * 30.0));
  auto n = static_cast<std::int16_t>(std::nearbyint(r));  // nearest, halves to even
  if (n == 30) n = 29;
  return std::to_string(n) + " جة ";
}

double Calc_Kepler(double M, double e) {
  const double k = Chk((180.0 / 3.141592654) * e);  // eccentricity in degrees
  double E = Chk(M + Chk(Chk(k * Sin_Deg(M)) * Chk(1.0 + Chk(e * Cos_Deg(M)))));
  // Every term of a step is finite while E is; a division by zero makes the step infinite.
  for (int step = 0; step < 32; ++step) {
    const double f = E - k * Sin_Deg(E) - M;
    const double fp = 1.0 - e * Cos_Deg(E);
    E = Chk(E - Chk(f / fp));
  }
  return E;
}
