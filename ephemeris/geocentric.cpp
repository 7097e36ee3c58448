// Orbit solver: heliocentric position from the six classical elements, then the geocentric
// longitude from tan(λ − ☉) = N / D (Meeus, Astronomical Formulae for Calculators, 4th ed.
// (1988); the elements are those of ch. 23 'Elements of the Planetary Orbits').
#include "ephemeris/bodies.h"
#include "ephemeris/decimal_rounding.h"
#include "ephemeris/degrees.h"
#include "ephemeris/kepler.h"

namespace {
// Angle of the point (x, y) in degrees: the arc tangent of y / x moved by ±180 when x < 0,
// so y = 0 with x < 0 gives -180. For x = 0 (only reachable by exact cancellation) the
// direction of the y axis, or 0 at the origin.
Real QuadrantAngle(Real y, Real x) {
  if (x > 0.0) return Atn_Deg(y / x);
  if (x < 0.0) {
    if (y > 0.0) return Atn_Deg(y / x) + 180.0;
    return Atn_Deg(y / x) - 180.0;
  }
  if (y > 0.0) return 90.0;
  if (y < 0.0) return -90.0;
  return 0.0;
}

}  // namespace

Real Calc_Geocentric(Real L, Real a, Real e, Real i, Real w, Real Om, const Sun_Place& sun) {
  // Mean anomaly.
  const Real s = w + Om;
  const Real M = Norm_360(s > L ? L - s + 360.0 : L - s);

  const Real E = Calc_Kepler(M, e);
  const Real r = a * (1.0 - e * Cos_Deg(E));  // radius vector, AU

  // Magnitude of the true anomaly, 0..180.
  const Real cosE = Cos_Deg(E);
  const Real v = Norm_360(ACos_Deg((cosE - e) / (1.0 - e * cosE)));

  // Argument of latitude: ω plus the signed true anomaly.
  const Real u = Norm_360(M < 180.0 ? v + L - M - Om : L + 360.0 - v - M - Om);

  // Heliocentric longitude and latitude.
  const Real Y = Cos_Deg(i) * Sin_Deg(u);
  const Real X = Cos_Deg(u);
  const Real l = QuadrantAngle(Y, X) + Om;
  const Real b = ASin_Deg(Sin_Deg(u) * Sin_Deg(i));

  // Geocentric longitude from the elongation from the Sun.
  const Real d = Norm_360(l - sun.Lon);
  const Real N = r * Cos_Deg(b) * Sin_Deg(d);
  const Real D = r * Cos_Deg(b) * Cos_Deg(d) + sun.Dist;
  const Real lambda = Norm_360(QuadrantAngle(N, D) + sun.Lon);
  return Round_15_Digits(lambda.value());
}
