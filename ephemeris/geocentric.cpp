// Orbit solver: heliocentric position from the six classical elements, then the geocentric
// longitude from tan(λ − ☉) = N / D (Meeus, Astronomical Formulae for Calculators, planetary
// positions from orbital elements).
#include "ephemeris/bodies.h"
#include "ephemeris/decimal_rounding.h"
#include "ephemeris/degrees.h"
#include "ephemeris/float_check.h"
#include "ephemeris/shared_state.h"

namespace {
// Angle of the point (x, y) in degrees: the arc tangent of y / x moved by ±180 when x < 0,
// so y = 0 with x < 0 gives -180. For x = 0 (only reachable by exact cancellation) the
// direction of the y axis, or 0 at the origin.
double QuadrantAngle(double y, double x) {
  if (x > 0.0) return Atn_Deg(Chk(y / x));
  if (x < 0.0) {
    if (y > 0.0) return Chk(Atn_Deg(Chk(y / x)) + 180.0);
    return Chk(Atn_Deg(Chk(y / x)) - 180.0);
  }
  if (y > 0.0) return 90.0;
  if (y < 0.0) return -90.0;
  return 0.0;
}

}  // namespace

double Calc_Geocentric(double L, double a, double e, double i, double w, double Om) {
  // Mean anomaly.
  const double s = Chk(w + Om);
  double M = (s > L) ? Chk(Chk(L - s) + 360.0) : Chk(L - s);
  M = Norm_360(M);

  const double E = Calc_Kepler(M, e);
  const double r = Chk(a * Chk(1.0 - Chk(e * Cos_Deg(E))));  // radius vector, AU

  // Magnitude of the true anomaly, 0..180.
  const double cosE = Cos_Deg(E);
  const double v = Norm_360(ACos_Deg(Chk(Chk(cosE - e) / Chk(1.0 - Chk(e * cosE)))));

  // Argument of latitude: ω plus the signed true anomaly.
  double u = (M < 180.0) ? Chk(Chk(Chk(v + L) - M) - Om)
                         : Chk(Chk(Chk(Chk(L + 360.0) - v) - M) - Om);
  u = Norm_360(u);

  // Heliocentric longitude and latitude.
  const double Y = Chk(Cos_Deg(i) * Sin_Deg(u));
  const double X = Cos_Deg(u);
  const double l = Chk(QuadrantAngle(Y, X) + Om);
  const double b = ASin_Deg(Chk(Sin_Deg(u) * Sin_Deg(i)));

  // Geocentric longitude from the elongation from the Sun.
  const double d = Norm_360(Chk(l - Sun_Lon));
  const double N = Chk(Chk(r * Cos_Deg(b)) * Sin_Deg(d));
  const double D = Chk(Chk(Chk(r * Cos_Deg(b)) * Cos_Deg(d)) + Sun_Dist);
  const double lambda = Norm_360(Chk(QuadrantAngle(N, D) + Sun_Lon));
  return Round_15_Digits(lambda);
}
