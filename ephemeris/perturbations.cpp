// Evaluation of the outer planets' perturbation series.
#include "ephemeris/perturbations.h"

Real Sum_Series(const Series& series, const TrigValues& trig, Real nu) {
  const Real nu2 = nu * nu;
  Real sum = 0.0;
  for (int k = 0; k < series.count; ++k) {
    const PerturbTerm& t = series.terms[k];
    Real coeff = t.c0;
    if (t.c1 != 0.0) coeff = coeff + t.c1 * nu;
    if (t.c2 != 0.0) coeff = coeff + t.c2 * nu2;
    Real value = coeff * trig.v[t.f1];
    if (t.f2 != kOne) value = value * trig.v[t.f2];
    sum = sum + value;
  }
  return sum;
}
