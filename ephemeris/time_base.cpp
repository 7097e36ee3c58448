// Time base: the calendar-to-Julian-Day method of Meeus (Astronomical Formulae for
// Calculators, 4th ed. (1988), ch. 3 'Julian Day and Calendar Date'), months 13 and 14 for
// January and February, Gregorian correction B.
#include "ephemeris/time_base.h"

#include "ephemeris/real.h"
#include "ephemeris/shared_state.h"

bool Calc_Time(const CivilTime& t) {
  Real Y = t.year;
  Real M = t.month;
  const Real D = Real(t.day) + Real(t.hour) / 24.0 + Real(t.minute) / 1440.0;
  if (M == 1 || M == 2) {
    Y = Y - 1;
    M = M + 12;
  }
  const Real B = 2.0 - Trunc(Y / 100.0) + Trunc(Y / 400.0);
  const Real N = 100.0 * M + 10000.0 * Y + D;

  bool gregorian;
  // N orders dates as Date_Key does, the fraction of the day included.
  if (N >= static_cast<double>(kFirstGregorianDate)) {
    gregorian = true;
  } else if (N <= static_cast<double>(kLastJulianDate)) {
    gregorian = false;
  } else {
    return false;  // inside the calendar gap: refused, state unchanged
  }

  Real jd = Trunc(365.25 * Y) + Trunc(30.6001 * (M + 1.0)) + D + 1720994.5;
  if (gregorian) jd = jd + B;
  JulianDay = jd.value();
  JulianCenturies = ((jd - 2415020.0) / 36525.0).value();
  return true;
}
