// Time base: calendar date and time to Julian Day and Julian centuries.
#pragma once

#include "calendar/calendar.h"  // CivilTime, the reform

// Shown when a date falls in the ten days that the Gregorian reform skipped.
inline constexpr const char kCalendarGapMessage[] =
    "لا يوجد هذا التاريخ في الحسابات الفلكية لأنه تم الإنتقال من التاريخ اليوليوزي للغريغوري إبتداءا من 15 أكتوبر 1582 ميلادية ";

// Sets JulianDay and JulianCenturies (T, centuries of 36525 days from JD 2415020.0) for the
// UTC reading t, by the calendar-to-Julian-Day method of Meeus (Astronomical Formulae for
// Calculators): dates up to kLastJulianDate 00:00 are Julian, from kFirstGregorianDate 00:00
// Gregorian.
// Returns false, changing nothing, for a date in between (the caller shows
// kCalendarGapMessage). Raises FloatError on a fault.
bool Calc_Time(const CivilTime& t);
