// Instants given as text: the historical calendar's day numbers and zone offsets.
#include "control/instant.h"

#include <gtest/gtest.h>

#include <cstdint>

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

TEST(Instant, ZoneOffsetCarriesAcrossTheReform) {
  const InstantParse p = Parse_Instant("1582-10-15T00:30+01:00");
  ASSERT_EQ(p.status, InstantParse::Status::Ok);
  EXPECT_EQ(Format_Utc_Minute(p.utc), "1582-10-04T23:30Z");
  // A zone that moves the first day of the range into year 0 makes a bad instant.
  const InstantParse q = Parse_Instant("0001-01-01T00:30+01:00");
  EXPECT_EQ(q.status, InstantParse::Status::Invalid);
}
}  // namespace
