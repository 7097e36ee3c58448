// Time base: the calendar-to-Julian-Day method of Meeus (Astronomical Formulae for
// Calculators), months 13 and 14 for January and February, Gregorian correction B.
#include "ephemeris/time_base.h"

#include <cmath>

#include "ephemeris/float_check.h"
#include "ephemeris/shared_state.h"

bool Calc_Time(const CivilTime& t) {
  double Y = t.year;
  double M = t.month;
  const double D = Chk(Chk(t.day + Chk(t.hour / 24.0)) + Chk(t.minute / 1440.0));
  if (M == 1 || M == 2) {
    Y = Y - 1;
    M = M + 12;
  }
  const double B = Chk(Chk(2.0 - std::trunc(Chk(Y / 100.0))) + std::trunc(Chk(Y / 400.0)));
  const double N = Chk(Chk(Chk(100.0 * M) + Chk(10000.0 * Y)) + D);

  bool gregorian;
  if (N >= 15821015.0) {
    gregorian = true;
  } else if (N <= 15821004.0) {
    gregorian = false;
  } else {
    return false;  // inside the calendar gap: refused, state unchanged
  }

  double jd = Chk(std::trunc(Chk(365.25 * Y)) + std::trunc(Chk(30.6001 * Chk(M + 1.0))));
  jd = Chk(Chk(jd + D) + 1720994.5);
  if (gregorian) jd = Chk(jd + B);
  JulianDay = jd;
  JulianCenturies = Chk(Chk(JulianDay - 2415020.0) / 36525.0);
  return true;
}
