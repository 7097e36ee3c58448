// Instants given as text: the historical calendar's day numbers and zone offsets.
#include "calendar/instant.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

#include "calendar/calendar.h"
#include "ephemeris/time_base.h"

namespace {
TEST(Instant, DayNumbersOfTheHistoricalCalendar) {
  EXPECT_EQ(Day_Number(2000, 1, 1), 2451545);
  EXPECT_EQ(Day_Number(1582, 10, 4), 2299160);
  EXPECT_EQ(Day_Number(1582, 10, 15), 2299161);
  EXPECT_EQ(Day_Number(1, 1, 1), 1721424);  // Julian calendar
  for (std::int64_t jdn = 1721000; jdn < 5373500; jdn += 97) {
    int y, m, d;
    Date_Of_Day_Number(jdn, y, m, d);
    EXPECT_EQ(Day_Number(y, m, d), jdn);
    EXPECT_LE(d, Days_In_Month(y, m));
  }
}

// A day the reform skipped, whatever its zone, is read as that day, and the time base (the one
// guard of the gap) refuses it; so does a control whose clock is given it.
TEST(Instant, SkippedDaysMeetTheTimeBasesRefusal) {
  const struct {
    const char* text;
    int day;
  } cases[] = {{"1582-10-05T00:00Z", 5}, {"1582-10-10T12:00", 10}, {"1582-10-14T23:59-03:00", 14}};
  for (const auto& c : cases) {
    const InstantParse p = Parse_Instant(c.text);
    ASSERT_EQ(p.status, InstantParse::Status::CalendarGap) << c.text;
    EXPECT_EQ(std::make_tuple(p.utc.year, p.utc.month, p.utc.day), std::make_tuple(1582, 10, c.day));
    EXPECT_FALSE(Calc_Time(p.utc)) << c.text;
  }
}
}  // namespace
