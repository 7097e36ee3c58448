// Sun: low-precision solar theory (Meeus, Astronomical Formulae for Calculators): mean
// longitude, mean anomaly, three-term equation of the centre, and the nutation-and-aberration
// correction through the longitude of the Moon's node; radius vector from Kepler's equation.
#include "ephemeris/bodies.h"
#include "ephemeris/degrees.h"
#include "ephemeris/float_check.h"
#include "ephemeris/shared_state.h"

void Calc_Sun() {
  const double T = JulianCenturies;
  const double T2 = Chk(T * T);

  const double L = Norm_360(Poly(T, 279.69668, 36000.76892, 0.0003025));        // mean longitude
  const double M = Norm_360(Poly(T, 358.47583, 35999.04975, -0.00015, -0.0000033));  // mean anomaly

  // Equation of the centre; 2M as M + M, 3M as 3 × M. Normalised, so a negative value
  // carries an extra turn that the final reduction removes.
  double EqC = Chk(Chk(Chk(1.91946 - Chk(0.004789 * T)) - Chk(0.000014 * T2)) * Sin_Deg(M));
  EqC = Chk(EqC + Chk(Chk(0.020094 - Chk(0.0001 * T)) * Sin_Deg(Chk(M + M))));
  EqC = Chk(EqC + Chk(0.000293 * Sin_Deg(Chk(3.0 * M))));
  EqC = Norm_360(EqC);

  const double Om = Norm_360(Poly(T, 259.183275, -1934.142, 0.002078, 0.0000022));  // Moon's node
  const double e = Chk(Chk(0.01675104 - Chk(0.0000418 * T)) - Chk(0.000000126 * T2));
  const double E = Calc_Kepler(M, e);

  Sun_Dist = Chk(1.0000002 * Chk(1.0 - Chk(e * Cos_Deg(E))));

  const double lambda =
      Norm_360(Chk(Chk(Chk(EqC + L) - 0.00569) - Chk(0.00479 * Sin_Deg(Om))));  // apparent longitude
  Sun_Lon = lambda;
  Pln_Lon[BodyIndex::Sun] = lambda;
}
