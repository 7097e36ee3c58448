// The start-up computation held to its pinned results: every body's present longitude, its
// longitude one step later and its retrograde flag at twenty instants from 0500 to 9999.
#include <gtest/gtest.h>

#include "control/startup.h"
#include "ephemeris/shared_state.h"
#include "tests/pinned_positions.h"

namespace {
// The values were taken from the native build, which reproduces them exactly (the longitudes
// are rounded to 15 significant digits, so a change shows as soon as it moves that digit).
// The WebAssembly build's sines differ from glibc's in the last bit, which moves a longitude
// by up to 4e-12 degree.
#ifdef __EMSCRIPTEN__
constexpr double kTolerance = 1e-11;
#else
constexpr double kTolerance = 0;
#endif

TEST(PinnedPositions, StartupReproducesTheTakenValues) {
  const std::vector<PinnedBody> rows = Read_Pinned_Positions();
  ASSERT_EQ(rows.size(), 200u);
  for (std::size_t first = 0; first < rows.size(); first += BodyIndex::Count) {
    const PinnedBody& at = rows[first];
    ASSERT_TRUE(Calc_Time(at.utc)) << at.instant_utc;
    EXPECT_DOUBLE_EQ(JulianDay, at.julian_day) << at.instant_utc;
    EXPECT_DOUBLE_EQ(JulianCenturies, at.julian_centuries) << at.instant_utc;
    const double before = JulianCenturies;
    Compute_Positions();
    // The documented step: 0.000027378 century, about one day.
    EXPECT_NEAR(JulianCenturies - before, 0.000027378, 1e-12) << at.instant_utc;

    for (int k = 0; k < BodyIndex::Count; ++k) {
      const PinnedBody& want = rows[first + k];
      ASSERT_EQ(want.index, k) << at.instant_utc;
      ASSERT_EQ(want.instant_utc, at.instant_utc);
      // Reduced into 0..360: the comparisons below are modulo 360 and would pass 360.06 for 0.06.
      EXPECT_TRUE(Pln_Rec[k].Lon >= 0 && Pln_Rec[k].Lon <= 360) << want.name << " at " << at.instant_utc;
      EXPECT_TRUE(Pln_Lon[k] >= 0 && Pln_Lon[k] <= 360) << want.name << " at " << at.instant_utc;
      EXPECT_NEAR(Angle_Diff(Pln_Rec[k].Lon, want.lon), 0.0, kTolerance) << want.name << " at " << at.instant_utc;
      EXPECT_NEAR(Angle_Diff(Pln_Lon[k], want.lon_next), 0.0, kTolerance) << want.name << " at " << at.instant_utc;
      EXPECT_EQ(Pln_Rec[k].Retro, want.retro ? kTrue16 : kFalse16) << want.name << " at " << at.instant_utc;
    }
  }
}
}  // namespace
