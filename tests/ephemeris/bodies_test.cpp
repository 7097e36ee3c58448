// The body theories: worked values, what each routine writes, and the 15-digit round trip.
#include "ephemeris/bodies.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <string>

#include "control/startup.h"
#include "ephemeris/float_check.h"
#include "ephemeris/shared_state.h"
#include "ephemeris/time_base.h"

namespace {
constexpr double kSentinel = -12345.0;

// Runs the Sun and then the routine of `slot` at time T; returns the stored longitude.
double LongitudeAt(double T, int slot) {
  JulianCenturies = T;
  Calc_Sun();
  kBodyRoutines[slot]();
  return Pln_Lon[slot];
}

TEST(Bodies, LongitudesAtJ2000RoundToTheWorkedValues) {
  struct Case {
    int slot;
    double degrees;
  };
  const Case cases[] = {{BodyIndex::Sun, 280},     {BodyIndex::Moon, 223},
                        {BodyIndex::Mercury, 272}, {BodyIndex::Venus, 242},
                        {BodyIndex::Mars, 328},    {BodyIndex::Uranus, 315},
                        {BodyIndex::Neptune, 303}, {BodyIndex::Pluto, 251}};
  for (const Case& c : cases) EXPECT_EQ(std::round(LongitudeAt(1.0, c.slot)), c.degrees) << c.slot;
}

TEST(Bodies, MoonAtOtherEpochs) {
  EXPECT_EQ(std::round(LongitudeAt(0.0, BodyIndex::Moon)), 265);
  EXPECT_EQ(std::round(LongitudeAt(-0.5, BodyIndex::Moon)), 119);
}

// Jupiter and Saturn near J2000 (apparent longitudes of date, within the theories' accuracy).
TEST(Bodies, GiantsNearTheirKnownPlacesAtJ2000) {
  EXPECT_NEAR(LongitudeAt(1.0, BodyIndex::Jupiter), 25.25, 0.1);
  EXPECT_NEAR(LongitudeAt(1.0, BodyIndex::Saturn), 40.40, 0.1);
}

TEST(Sun, LeavesItsLongitudeAndDistanceForThePlanets) {
  for (double T : {-1.0, 0.0, 1.0, 1.27, 2.0}) {
    JulianCenturies = T;
    Calc_Sun();
    EXPECT_EQ(Sun_Lon, Pln_Lon[BodyIndex::Sun]);
    EXPECT_GT(Sun_Dist, 0.98);
    EXPECT_LT(Sun_Dist, 1.02);
  }
  JulianCenturies = 1.0;
  Calc_Sun();
  EXPECT_NEAR(Sun_Dist, 0.9833, 0.0001);  // Earth near perihelion in early January
}

TEST(Bodies, EachRoutineWritesOnlyItsOwnSlot) {
  for (int slot = 0; slot < BodyIndex::Count; ++slot) {
    JulianCenturies = 1.1;
    Calc_Sun();
    Pln_Lon.fill(kSentinel);
    kBodyRoutines[slot]();
    for (int k = 0; k < 11; ++k) {
      if (k == slot) {
        EXPECT_GE(Pln_Lon[k], 0.0) << slot;
        EXPECT_LE(Pln_Lon[k], 360.0) << slot;
      } else {
        EXPECT_EQ(Pln_Lon[k], kSentinel) << "routine " << slot << " wrote slot " << k;
      }
    }
  }
}

TEST(Bodies, SameTimeGivesTheSameValueAndStaysInRange) {
  for (double T = -2.0; T <= 3.0; T += 0.173) {
    for (int slot = 0; slot < BodyIndex::Count; ++slot) {
      const double first = LongitudeAt(T, slot);
      EXPECT_EQ(LongitudeAt(T, slot), first);
      EXPECT_GE(first, 0.0);
      EXPECT_LE(first, 360.0);
    }
  }
}

TEST(Bodies, PlanetLongitudesAreRoundedToFifteenDigits) {
  for (double T = -1.0; T <= 2.0; T += 0.31) {
    for (int slot = BodyIndex::Mercury; slot < BodyIndex::Count; ++slot) {
      const double lon = LongitudeAt(T, slot);
      char text[40];
      std::snprintf(text, sizeof text, "%.15g", lon);
      EXPECT_EQ(std::strtod(text, nullptr), lon) << slot << " at T=" << T;
    }
  }
}

TEST(Bodies, RoundTripDoesNotDependOnTheDecimalSeparator) {
  const double expected = LongitudeAt(1.0, BodyIndex::Mars);
  const char* comma_locales[] = {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE", "fr_FR"};
  const char* set = nullptr;
  for (const char* name : comma_locales) {
    if ((set = std::setlocale(LC_ALL, name)) != nullptr) break;
  }
  if (set == nullptr) GTEST_SKIP() << "no locale with a decimal comma is installed";
  const double with_comma = LongitudeAt(1.0, BodyIndex::Mars);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(with_comma, expected);
}

TEST(Bodies, FaultLeavesTheSlotUnchanged) {
  for (int slot = 0; slot < BodyIndex::Count; ++slot) {
    JulianCenturies = 1.0;
    Calc_Sun();
    Pln_Lon.fill(kSentinel);
    JulianCenturies = std::nan("");
    EXPECT_THROW(kBodyRoutines[slot](), FloatError) << slot;
    EXPECT_EQ(Pln_Lon[slot], kSentinel) << slot;
  }
}
}  // namespace

namespace {
// Ours against a modern ephemeris, within each theory's accuracy over 1900-2100.
TEST(Bodies, AgreeWithAModernEphemeris) {
  const double tolerance[10] = {0.01, 0.05, 0.03, 0.05, 0.15, 0.06, 0.08, 0.1, 0.04, 0.7};
  std::FILE* f = std::fopen(ZC_TEST_DATA_DIR "/reference_longitudes.tsv", "r");
  ASSERT_NE(f, nullptr);
  char line[512];
  int rows = 0;
  while (std::fgets(line, sizeof line, f)) {
    if (line[0] == '#') continue;
    CivilTime t;
    double ref[10];
    const int n = std::sscanf(line, "%d-%d-%dT%d:%dZ %lf %lf %lf %lf %lf %lf %lf %lf %lf %lf",
                              &t.year, &t.month, &t.day, &t.hour, &t.minute, &ref[0], &ref[1],
                              &ref[2], &ref[3], &ref[4], &ref[5], &ref[6], &ref[7], &ref[8],
                              &ref[9]);
    ASSERT_EQ(n, 15) << line;
    ASSERT_TRUE(Calc_Time(t));
    Compute_Pass();
    for (int k = 0; k < BodyIndex::Count; ++k) {
      const double diff = std::remainder(Pln_Lon[k] - ref[k], 360.0);
      EXPECT_LT(std::fabs(diff), tolerance[k]) << "body " << k << " at " << line;
    }
    ++rows;
  }
  std::fclose(f);
  EXPECT_EQ(rows, 12);
}
}  // namespace

namespace {
// Circular orbits in the ecliptic seen from a known Sun: plain geometry.
TEST(OrbitSolver, CircularOrbitsInTheEcliptic) {
  struct Case {
    double L, a, sun_lon, sun_dist, expected;
  };
  const Case cases[] = {
      {0, 2, 0, 0, 0},           // seen from the Sun itself: heliocentric = geocentric
      {123.4, 2, 0, 0, 123.4},
      {250, 5, 0, 0, 250},       // mean anomaly past 180: the second branch
      {180, 2, 0, 1, 180},       // opposite the Sun
      {90, 1, 0, 1, 45},         // Earth at (-1, 0), planet at (0, 1)
      {0, 1, 90, 1, 45},         // Earth at (0, -1), planet at (1, 0)
      {300, 1.5, 300, 1, 300},   // beyond the Sun: seen in conjunction with it
      {120, 1.5, 300, 1, 120},   // on the Earth's side: seen opposite the Sun
  };
  for (const Case& c : cases) {
    const double lon =
        Calc_Geocentric(c.L, c.a, 0.0, 0.0, 0.0, 0.0, {c.sun_lon, c.sun_dist}).value();
    EXPECT_NEAR(std::remainder(lon - c.expected, 360.0), 0.0, 1e-9) << c.L << " " << c.sun_lon;
  }
}

TEST(OrbitSolver, InclinedOrbitKeepsTheNodeLongitudes) {
  // A body crossing its ascending node (u = 0) lies on the ecliptic at the node's longitude.
  for (double node : {0.0, 47.1, 200.0}) {
    const double lon = Calc_Geocentric(node, 3, 0.0, 30.0, 0.0, node, {0, 0}).value();
    EXPECT_NEAR(std::remainder(lon - node, 360.0), 0.0, 1e-9) << node;
  }
}
}  // namespace
