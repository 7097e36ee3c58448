// Time base: calendar date and time to Julian Day and Julian centuries.
#pragma once

// A clock reading in universal time. Seconds are carried but not used: the instant is
// truncated to the whole minute.
struct CivilTime {
  int year = 2000;
  int month = 1;   // 1..12
  int day = 1;     // 1..31
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  int second = 0;  // 0..59, ignored
};

// Shown when a date falls in the ten days that the Gregorian reform skipped.
inline constexpr const char kCalendarGapMessage[] =
    "لا يوجد هذا التاريخ في الحسابات الفلكية لأنه تم الإنتقال من التاريخ اليوليوزي للغريغوري إبتداءا من 15 أكتوبر 1582 ميلادية ";

// Sets JulianDay and JulianCenturies (T, centuries of 36525 days from JD 2415020.0) for the
// UTC reading t, by the calendar-to-Julian-Day method of Meeus (Astronomical Formulae for
// Calculators): dates up to 1582-10-04 00:00 are Julian, from 1582-10-15 00:00 Gregorian.
// Returns false, changing nothing, for a date in between (the caller shows
// kCalendarGapMessage). Raises FloatError on a fault.
bool Calc_Time(const CivilTime& t);
