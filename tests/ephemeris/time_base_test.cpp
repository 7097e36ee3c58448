// Calendar date and time to Julian Day and Julian centuries.
#include "ephemeris/time_base.h"

#include <gtest/gtest.h>

#include "ephemeris/shared_state.h"

namespace {
struct TimeCase {
  CivilTime t;
  double jd;
};

TEST(TimeBase, JulianDaysOfKnownInstants) {
  const TimeCase cases[] = {
      {{2000, 1, 1, 12, 0, 0}, 2451545.0},    // J2000.0
      {{1900, 1, 1, 0, 0, 0}, 2415020.5},     // half a day after JD 2415020.0
      {{1582, 10, 4, 0, 0, 0}, 2299159.5},    // last Julian day ...
      {{1582, 10, 15, 0, 0, 0}, 2299160.5},   // ... and the first Gregorian one, a day later
      {{1957, 10, 4, 19, 26, 0}, 2436115.5 + (19 * 60 + 26) / 1440.0},  // Sputnik 1 (Meeus)
      {{333, 1, 27, 12, 0, 0}, 1842713.0},    // a Julian-calendar January (Meeus)
      {{2024, 2, 29, 18, 0, 0}, 2460370.25},  // February uses the previous year
      {{9999, 12, 31, 23, 59, 0}, 5373483.5 + 1439 / 1440.0},
  };
  for (const TimeCase& c : cases) {
    ASSERT_TRUE(Calc_Time(c.t));
    EXPECT_NEAR(JulianDay, c.jd, 1e-8) << c.t.year << "-" << c.t.month << "-" << c.t.day;
    EXPECT_EQ(JulianCenturies, (JulianDay - 2415020.0) / 36525);
  }
}

TEST(TimeBase, J2000IsExactlyOneCentury) {
  ASSERT_TRUE(Calc_Time({2000, 1, 1, 12, 0, 0}));
  EXPECT_EQ(JulianDay, 2451545.0);
  EXPECT_EQ(JulianCenturies, 1.0);
  ASSERT_TRUE(Calc_Time({1900, 1, 1, 0, 0, 0}));
  EXPECT_EQ(JulianCenturies, 0.5 / 36525);
}

TEST(TimeBase, SecondsAreDropped) {
  ASSERT_TRUE(Calc_Time({2026, 12, 8, 14, 27, 0}));
  const double jd = JulianDay;
  ASSERT_TRUE(Calc_Time({2026, 12, 8, 14, 27, 59}));
  EXPECT_EQ(JulianDay, jd);
}

TEST(TimeBase, CalendarGapIsRefusedWithoutChangingTheTime) {
  const CivilTime refused[] = {
      {1582, 10, 4, 0, 1, 0},    // after midnight of the last Julian day
      {1582, 10, 5, 12, 0, 0},
      {1582, 10, 14, 23, 59, 0},
  };
  ASSERT_TRUE(Calc_Time({2000, 1, 1, 12, 0, 0}));
  for (const CivilTime& t : refused) {
    EXPECT_FALSE(Calc_Time(t)) << t.day << " " << t.hour << ":" << t.minute;
    EXPECT_EQ(JulianDay, 2451545.0);
    EXPECT_EQ(JulianCenturies, 1.0);
  }
  EXPECT_TRUE(Calc_Time({1582, 10, 15, 0, 0, 0}));
  EXPECT_TRUE(Calc_Time({1582, 10, 4, 0, 0, 0}));
}
}  // namespace
