// The steps the hosts share: sign reading, the guarded computation and its outcomes.
#include "service/sky.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "ephemeris/float_check.h"
#include "ephemeris/shared_state.h"
#include "ephemeris/time_base.h"

namespace {
TEST(Sky, SignByNumberNameOrCaption) {
  struct Case {
    const char* text;
    int sign;
  };
  const Case cases[] = {
      {"0", 0},          {"00", 0},         {"07", 7},      {"11", 11},    {"aries", 0},
      {"LEO", 4},        {"Sagittarius", 8}, {"pisces", 11}, {"برج الأسد", 4}, {"برج الحوت", 11},
      {"12", -1},        {"-1", -1},        {"011", -1},    {"", -1},      {"leo ", -1},
      {"ophiuchus", -1}, {"برج", -1},       {"1a", -1},     {"aquariu", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(Parse_Sign(c.text), c.sign) << "'" << c.text << "'";
}

TEST(Sky, FaultsBecomeFaultOutcomes) {
  EXPECT_TRUE(Run_Guarded([] {}).Ok());
  const Outcome fault = Run_Guarded([] { throw FloatError(); });
  EXPECT_EQ(fault.status, Service_Status::Fault);
  EXPECT_EQ(fault.message, FloatError().what());
  EXPECT_EQ(Run_Guarded([] { throw std::out_of_range("sign"); }).status,
            Service_Status::Fault);
}

TEST(Sky, InstantsGiveTheSkyOrTheirStatus) {
  Computed_Instant computed;
  const Outcome ok = Compute_Sky("2000-01-01T13:00+01:00", computed);
  ASSERT_TRUE(ok.Ok()) << ok.message;
  EXPECT_EQ(computed.instant_utc, "2000-01-01T12:00Z");
  EXPECT_EQ(computed.julian_day, 2451545.0);
  EXPECT_EQ(computed.julian_centuries, 1.0);
  EXPECT_EQ(JulianCenturies, 1.0 + 0.000027378);  // the table is for this instant

  const Outcome gap = Compute_Sky("1582-10-10T12:00Z", computed);
  EXPECT_EQ(gap.status, Service_Status::Calendar_Gap);
  EXPECT_EQ(gap.message, kCalendarGapMessage);
  // 1582-10-04T23:30Z: the time base refuses readings after 1582-10-04 00:00 too.
  EXPECT_EQ(Compute_Sky("1582-10-15T00:30+01:00", computed).status,
            Service_Status::Calendar_Gap);

  const Outcome bad = Compute_Sky("2000-04-31T12:00Z", computed);
  EXPECT_EQ(bad.status, Service_Status::Bad_Input);
  EXPECT_EQ(bad.message, "invalid instant '2000-04-31T12:00Z': day out of range for the month");
}
}  // namespace
