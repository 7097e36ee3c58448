// The start-up computation: the two passes, the one-step advance and the retrograde rule.
#include "control/startup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "ephemeris/bodies.h"
#include "ephemeris/float_check.h"
#include "ephemeris/shared_state.h"
#include "tests/control/recording_platform.h"

namespace {
constexpr double kSentinel = -777.0;


// Sets every body's motion to d (present 100°, next 100° + d) with the flag `before`, then
// applies the rule.
std::int16_t FlagForMotion(double present, double next, int slot, std::int16_t before) {
  Pln_Rec[slot].Lon = present;
  Pln_Lon[slot] = next;
  Pln_Rec[slot].Retro = before;
  Apply_Retrograde_Rule();
  return Pln_Rec[slot].Retro;
}

TEST(RetrogradeRule, FlagsFromTheOneStepMotion) {
  struct Case {
    double present, next;
    std::int16_t expected;
  };
  const Case cases[] = {
      {100, 99, kTrue16},         // small backward step
      {100, 97, kTrue16},         // d = -3 exactly: retrograde
      {100, 96.9, kTrue16},       // d < -3: d + 360 > 3 ends retrograde
      {100, 101, kFalse16},       // small forward step
      {100, 103, kFalse16},       // d = +3 exactly: direct
      {100, 103.5, kTrue16},      // d > 3
      {359.5, 0.5, kFalse16},     // forward across 0° (d near -360)
      {0.5, 359.5, kTrue16},      // backward across 0° (d near +360)
      {358.5, 1, kFalse16},       // 2.5 forward across 0°: d + 360 = 2.5, direct
      {359, 2.5, kTrue16},        // 3.5 forward across 0°: d + 360 = 3.5 > 3
      {200, 10, kTrue16},         // any other d < -3 ends retrograde
  };
  for (const Case& c : cases) {
    for (std::int16_t before : {kFalse16, kTrue16}) {
      EXPECT_EQ(FlagForMotion(c.present, c.next, BodyIndex::Mars, before), c.expected)
          << c.present << " -> " << c.next;
    }
  }
}

TEST(RetrogradeRule, StationaryBodyKeepsItsFlag) {
  EXPECT_EQ(FlagForMotion(42, 42, BodyIndex::Venus, kTrue16), kTrue16);
  EXPECT_EQ(FlagForMotion(42, 42, BodyIndex::Venus, kFalse16), kFalse16);
}

TEST(RetrogradeRule, MoonIsNeverRetrograde) {
  EXPECT_EQ(FlagForMotion(100, 99, BodyIndex::Moon, kTrue16), kFalse16);
  EXPECT_EQ(FlagForMotion(0.5, 359.5, BodyIndex::Moon, kTrue16), kFalse16);
}

TEST(Startup, SecondPassIsOneStepLater) {
  ASSERT_TRUE(Calc_Time({2026, 12, 8, 14, 30, 0}));
  const double T = JulianCenturies;
  Compute_Positions();
  EXPECT_EQ(JulianCenturies, T + kRetroStep);

  // The present longitudes are a pass at T, the buffer a pass at T + step.
  const auto later = Pln_Lon;
  const auto present = Pln_Rec;
  JulianCenturies = T;
  Compute_Pass();
  for (int k = 0; k < BodyIndex::Count; ++k) {
    EXPECT_EQ(present[k].Lon, Pln_Lon[k]) << k;
    EXPECT_NE(later[k], Pln_Lon[k]) << k;
  }
  // Daily motions: the Moon about 12 to 15 degrees, the Sun about one.
  EXPECT_NEAR(later[BodyIndex::Moon] - present[BodyIndex::Moon].Lon, 13.2, 2.0);
  EXPECT_NEAR(later[BodyIndex::Sun] - present[BodyIndex::Sun].Lon, 1.0, 0.05);
}

TEST(Startup, KnownRetrogradePlanets) {
  // 2000-01-01: Saturn retrograde (stationary in mid-August 1999 until January 2000);
  // Mercury, Venus, Mars, Jupiter direct.
  RecordingPlatform platform;
  ASSERT_TRUE(Startup_Compute({2000, 1, 1, 12, 0, 0}, platform));
  EXPECT_EQ(Pln_Rec[BodyIndex::Saturn].Retro, kTrue16);
  for (int k : {BodyIndex::Sun, BodyIndex::Moon, BodyIndex::Mercury, BodyIndex::Venus,
                BodyIndex::Mars, BodyIndex::Jupiter})
    EXPECT_EQ(Pln_Rec[k].Retro, kFalse16) << k;
  // Mars at its 2020 opposition and Mercury in its April 2024 retrograde loop.
  ASSERT_TRUE(Startup_Compute({2020, 10, 13, 12, 0, 0}, platform));
  EXPECT_EQ(Pln_Rec[BodyIndex::Mars].Retro, kTrue16);
  ASSERT_TRUE(Startup_Compute({2024, 4, 12, 12, 0, 0}, platform));
  EXPECT_EQ(Pln_Rec[BodyIndex::Mercury].Retro, kTrue16);
  EXPECT_EQ(Pln_Rec[BodyIndex::Mars].Retro, kFalse16);
  EXPECT_TRUE(platform.message_boxes.empty());
}

TEST(Startup, RefusedDateShowsTheMessageAndGoesOnWithThePreviousTime) {
  RecordingPlatform platform;
  ASSERT_TRUE(Calc_Time({2000, 1, 1, 12, 0, 0}));
  EXPECT_FALSE(Startup_Compute({1582, 10, 10, 12, 0, 0}, platform));
  ASSERT_EQ(platform.message_boxes.size(), 1u);
  EXPECT_EQ(platform.message_boxes[0], std::make_pair(std::string(kCalendarGapMessage), 16));
  EXPECT_EQ(JulianDay, 2451545.0);
  EXPECT_EQ(JulianCenturies, 1.0 + kRetroStep);
  EXPECT_EQ(std::round(Pln_Rec[BodyIndex::Sun].Lon), 280);
}

TEST(Startup, FaultStopsAtTheFirstFaultKeepingEarlierValues) {
  for (int k = 0; k < 11; ++k) {
    Pln_Lon[k] = kSentinel;
    Pln_Rec[k] = {kSentinel, kTrue16, 3.0};
  }
  JulianCenturies = std::nan("");
  EXPECT_THROW(Compute_Positions(), FloatError);
  for (int k = 0; k < 11; ++k) {
    EXPECT_EQ(Pln_Lon[k], kSentinel);
    EXPECT_EQ(Pln_Rec[k].Lon, kSentinel);
    EXPECT_EQ(Pln_Rec[k].Retro, kTrue16);
  }
  EXPECT_TRUE(std::isnan(JulianCenturies));  // not advanced

  // Ten thousand centuries back: the Sun and the Moon are placed, Mercury's orbit breaks down.
  JulianCenturies = -1e4;
  EXPECT_THROW(Compute_Positions(), FloatError);
  EXPECT_NE(Pln_Lon[BodyIndex::Sun], kSentinel);
  EXPECT_NE(Pln_Lon[BodyIndex::Moon], kSentinel);
  for (int k = BodyIndex::Mercury; k < 11; ++k) EXPECT_EQ(Pln_Lon[k], kSentinel) << k;
  for (int k = 0; k < 11; ++k) EXPECT_EQ(Pln_Rec[k].Lon, kSentinel) << k;
  EXPECT_EQ(JulianCenturies, -1e4);
}

TEST(Startup, EachThreadHasItsOwnZeroedTable) {
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
  GTEST_SKIP() << "WebAssembly built without pthreads cannot start a second thread";
#endif
  ASSERT_TRUE(Calc_Time({2000, 1, 1, 12, 0, 0}));
  Compute_Positions();
  double other_T = -1, other_lon = -1;
  std::thread([&] {
    other_T = JulianCenturies;
    other_lon = Pln_Rec[BodyIndex::Sun].Lon;
  }).join();
  EXPECT_EQ(other_T, 0.0);
  EXPECT_EQ(other_lon, 0.0);
  EXPECT_EQ(JulianCenturies, 1.0 + kRetroStep);
}
}  // namespace
