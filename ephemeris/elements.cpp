// Planet placement from element polynomials through the orbit solver.
#include "ephemeris/elements.h"

#include "control/shared_state.h"
#include "ephemeris/bodies.h"
#include "ephemeris/degrees.h"

void Place_Unperturbed(const PlanetElements& el, int slot) {
  const double T = JulianCenturies;
  const double L = Norm_360(Eval(el.L, T));
  const double e = Eval(el.e, T);
  const double i = Eval(el.i, T);
  const double w = Norm_360(Eval(el.w, T));
  const double Om = Norm_360(Eval(el.Om, T));
  const double a = Eval(el.a, T);
  Pln_Lon[slot] = Calc_Geocentric(L, a, e, i, w, Om);
}
