// Sun: low-precision solar theory (Meeus, Astronomical Formulae for Calculators, 4th ed.
// (1988), ch. 18 'Solar Coordinates'): mean longitude, mean anomaly, three-term equation of the
// centre, and the nutation-and-aberration correction through the longitude of the Moon's node;
// radius vector from Kepler's equation.
#include "ephemeris/bodies.h"
#include "ephemeris/degrees.h"
#include "ephemeris/kepler.h"
#include "ephemeris/elements.h"

Sun_Place Sun_Position(Real T) {
  const Real T2 = T * T;

  const Real L = Norm_360(Poly(T, 279.69668, 36000.76892, 0.0003025));           // mean longitude
  const Real M = Norm_360(Poly(T, 358.47583, 35999.04975, -0.00015, -0.0000033));  // mean anomaly

  // Equation of the centre; 2M as M + M, 3M as 3 × M. Normalised, so a negative value
  // carries an extra turn that the final reduction removes.
  const Real EqC = Norm_360((1.91946 - 0.004789 * T - 0.000014 * T2) * Sin_Deg(M) +
                            (0.020094 - 0.0001 * T) * Sin_Deg(M + M) +
                            0.000293 * Sin_Deg(3.0 * M));

  const Real Om = Norm_360(Poly(T, 259.183275, -1934.142, 0.002078, 0.0000022));  // Moon's node
  const Real e = 0.01675104 - 0.0000418 * T - 0.000000126 * T2;
  const Real E = Calc_Kepler(M, e);

  const Real R = 1.0000002 * (1.0 - e * Cos_Deg(E));  // radius vector

  // Apparent longitude: true longitude, less aberration, with nutation through the node.
  const Real lambda = Norm_360(EqC + L - 0.00569 - 0.00479 * Sin_Deg(Om));
  return {lambda, R};
}
