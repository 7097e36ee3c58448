// Evaluation of the outer planets' perturbation series.
#include "ephemeris/perturbations.h"

#include "ephemeris/float_check.h"

double Sum_Series(const PerturbTerm* terms, int count, const TrigValues& trig, double nu) {
  const double nu2 = Chk(nu * nu);
  double sum = 0.0;
  for (int k = 0; k < count; ++k) {
    const PerturbTerm& t = terms[k];
    double coeff = t.c0;
    if (t.c1 != 0.0) coeff = Chk(coeff + Chk(t.c1 * nu));
    if (t.c2 != 0.0) coeff = Chk(coeff + Chk(t.c2 * nu2));
    double value = Chk(coeff * trig.v[t.f1]);
    if (t.f2 != kOne) value = Chk(value * trig.v[t.f2]);
    sum = Chk(sum + value);
  }
  return sum;
}
