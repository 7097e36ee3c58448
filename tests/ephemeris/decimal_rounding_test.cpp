// Rounding to 15 significant digits against the C library's decimal text round trip.
#include "ephemeris/decimal_rounding.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>

namespace {
double ViaPrintf(double x) {
  char text[40];
  std::snprintf(text, sizeof text, "%.15g", x);
  return std::strtod(text, nullptr);
}

TEST(DecimalRounding, MatchesTheTextRoundTripOnLongitudes) {
  std::mt19937_64 rng(20261208);
  std::uniform_real_distribution<double> lon(0.0, 360.0);
  for (int k = 0; k < 200000; ++k) {
    const double x = lon(rng);
    ASSERT_EQ(Round_15_Digits(x), ViaPrintf(x)) << std::hexfloat << x;
  }
}

TEST(DecimalRounding, ExactTiesGoToTheEvenDigit) {
  // j / 2^m with j odd has exactly one more decimal than 15 significant digits keep.
  struct Range {
    double low, high, step;
  };
  const Range ranges[] = {{100, 360, 1.0 / 8192}, {10, 100, 1.0 / 16384}, {1, 10, 1.0 / 32768}};
  for (const Range& r : ranges) {
    for (double x = r.low + r.step; x < r.high; x += 2 * r.step * 997) {
      ASSERT_EQ(Round_15_Digits(x), ViaPrintf(x)) << std::hexfloat << x;
    }
  }
}

TEST(DecimalRounding, EdgesAndOtherMagnitudes) {
  const double cases[] = {0.0,    -0.0,       1.0,        0.999999999999999944,
                          360.0,  359.99999999999997, 99.999999999999993, 9.9999999999999993,
                          999.99999999999989, 1000.0123456789012, 1e-9, 0.123456789012345678,
                          123456.78901234567, -280.37186079139519, 1e300};
  for (const double x : cases) EXPECT_EQ(Round_15_Digits(x), ViaPrintf(x)) << std::hexfloat << x;
}
}  // namespace
