// Rounding to 15 significant digits against the C library's decimal text round trip, bit for
// bit: longitudes, every magnitude, exact ties and the edges of each decade.
#include "ephemeris/decimal_rounding.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {
double ViaPrintf(double x) {
  char text[40];
  std::snprintf(text, sizeof text, "%.15g", x);
  return std::strtod(text, nullptr);
}

std::uint64_t Bits(double x) {
  std::uint64_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

// The same bits as the text round trip (so -0 and 0 differ too).
testing::AssertionResult Rounds_As_Text(double x) {
  const double got = Round_15_Digits(x), want = ViaPrintf(x);
  if (Bits(got) == Bits(want)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << std::hexfloat << x << " (" << std::defaultfloat << x
                                     << ") gives " << got << ", the text " << want;
}

TEST(DecimalRounding, MatchesTheTextRoundTripOnLongitudes) {
  std::mt19937_64 rng(20261208);
  std::uniform_real_distribution<double> lon(0.0, 360.0);
  for (int k = 0; k < 200000; ++k) {
    const double x = lon(rng);
    ASSERT_TRUE(Rounds_As_Text(x));
  }
}

TEST(DecimalRounding, MatchesTheTextRoundTripAtEveryMagnitude) {
  std::mt19937_64 rng(13);
  struct Range {
    double low, high;
  };
  // Uniform within the ranges beside the longitudes', then any bit pattern of a finite double.
  const Range ranges[] = {{0, 1e-8}, {1e-8, 1}, {1000, 1e15}, {1e15, 1e23}};
  for (const Range& r : ranges) {
    std::uniform_real_distribution<double> value(r.low, r.high);
    for (int k = 0; k < 20000; ++k) {
      const double x = value(rng);
      ASSERT_TRUE(Rounds_As_Text(x));
    }
  }
  for (int k = 0; k < 40000; ++k) {
    const std::uint64_t b = rng();
    double x;
    std::memcpy(&x, &b, sizeof x);
    if (!std::isfinite(x)) continue;
    ASSERT_TRUE(Rounds_As_Text(x));
  }
}

TEST(DecimalRounding, ExactTiesGoToTheEvenDigit) {
  // In [10^d, 10^(d+1)), j · 2^(d - 15) with j odd has exactly sixteen significant digits, the
  // last a 5 (at d = 15 the integers ending in 5); such doubles exist for d = -7 to 15.
  std::mt19937_64 rng(7);
  for (int d = -7; d <= 15; ++d) {
    const double step = std::ldexp(1.0, d - 15);
    const double low = std::ceil(std::pow(10.0, d) / step), high = std::pow(10.0, d + 1) / step;
    std::uniform_real_distribution<double> pick(low, high);
    for (int k = 0; k < 2000; ++k) {
      double j = std::floor(pick(rng));
      j = d == 15 ? std::floor(j / 10) * 10 + 5 : (std::fmod(j, 2.0) == 0 ? j + 1 : j);
      if (j >= high) continue;
      ASSERT_TRUE(Rounds_As_Text(j * step));
    }
  }
}

TEST(DecimalRounding, EdgesOfEachDecadeAndOfTheDoubles) {
  for (int p = -324; p <= 308; ++p) {
    const double power = std::strtod(("1e" + std::to_string(p)).c_str(), nullptr);
    double below = power, above = power;
    for (int ulps = 0; ulps < 4; ++ulps) {
      ASSERT_TRUE(Rounds_As_Text(below));
      ASSERT_TRUE(Rounds_As_Text(above));
      below = std::nextafter(below, 0.0);
      above = std::nextafter(above, HUGE_VAL);
    }
  }
  const double cases[] = {0.0,      -0.0,   1.0,     0.999999999999999944, 360.0,
                          359.99999999999997, 99.999999999999993, 9.9999999999999993,
                          999.99999999999989, 1000.0123456789012, 1e-9, 0.123456789012345678,
                          123456.78901234567, -280.37186079139519, 1e300, DBL_MAX, -DBL_MAX,
                          DBL_MIN, DBL_TRUE_MIN, 1.7976931348623e308, 9.99999999999999e22};
  for (const double x : cases) EXPECT_TRUE(Rounds_As_Text(x));
  EXPECT_TRUE(std::isinf(Round_15_Digits(DBL_MAX)));  // 1.79769313486232e308 is past the doubles
}
}  // namespace
