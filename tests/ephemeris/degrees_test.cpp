// Degree helpers and Kepler's equation.
#include "ephemeris/degrees.h"
#include "ephemeris/kepler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "ephemeris/float_check.h"

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The build rounds a product before adding to it (-ffp-contract=off): a fused a·b + c would
// keep the product's lost low bits, here the whole result, and every machine with FMA would
// get other last bits. The inputs are volatile so the compiler cannot fold the sum.
TEST(Build, MultiplyAndAddAreRoundedSeparately) {
  volatile double a = 1.0 + 0x1p-30, b = 1.0 - 0x1p-30, c = -1.0;
  const double x = a, y = b, z = c;
  EXPECT_EQ(x * y + z, 0.0);  // a·b = 1 − 2⁻⁶⁰ exactly, rounded to 1; fused: −2⁻⁶⁰
}

TEST(DegreeHelpers, SineAndCosineAtQuarterTurns) {
  EXPECT_NEAR(Sin_Deg(90).value(), 1.0, 1e-15);
  EXPECT_NEAR(Sin_Deg(30).value(), 0.5, 1e-15);
  EXPECT_DOUBLE_EQ(Cos_Deg(180).value(), -1.0);
  EXPECT_NEAR(Cos_Deg(60).value(), 0.5, 1e-15);
  EXPECT_NEAR(Sin_Deg(-270).value(), 1.0, 1e-15);
}

TEST(DegreeHelpers, InverseFunctionsTakeTheEndsExactly) {
  EXPECT_EQ(ASin_Deg(1.0).value(), 90.0);
  EXPECT_EQ(ASin_Deg(-1.0).value(), -90.0);
  EXPECT_EQ(ACos_Deg(1.0).value(), 0.0);
  EXPECT_EQ(ACos_Deg(-1.0).value(), 180.0);
  EXPECT_NEAR(ASin_Deg(0.5).value(), 30.0, 1e-12);
  EXPECT_NEAR(ACos_Deg(0.5).value(), 60.0, 1e-12);
  EXPECT_NEAR(ACos_Deg(-0.5).value(), 120.0, 1e-12);
  EXPECT_NEAR(Atn_Deg(1.0).value(), 45.0, 1e-12);
  EXPECT_NEAR(Atn_Deg(-1e300).value(), -90.0, 1e-12);
}

TEST(DegreeHelpers, ArgumentsOutsideTheirDomainRaiseTheFault) {
  EXPECT_THROW(ASin_Deg(1.0000001), FloatError);
  EXPECT_THROW(ACos_Deg(-1.5), FloatError);
  EXPECT_THROW(Sin_Deg(kNaN), FloatError);
  EXPECT_THROW(Cos_Deg(kInf), FloatError);
  EXPECT_THROW(Atn_Deg(kNaN), FloatError);
  EXPECT_THROW(Norm_360(kInf), FloatError);
}

TEST(DegreeHelpers, NormalisationKeepsBothEnds) {
  struct Case {
    double in, out;
  };
  const Case cases[] = {{360, 360}, {720, 0},  {-360, 360}, {-30, 330}, {0, 0},
                        {359.5, 359.5}, {1080, 0}, {-720, 360}, {725, 5}};
  for (const Case& c : cases) EXPECT_NEAR(Norm_360(c.in).value(), c.out, 1e-12) << c.in;
  EXPECT_NEAR(Norm_360(370).value(), 10.0, 1e-12);
  EXPECT_EQ(Norm_360(360).value(), 360.0);
  EXPECT_EQ(Norm_360(-360).value(), 360.0);
}

TEST(DegreeHelpers, SignDegreeTextRoundsWithinTheSign) {
  struct Case {
    double lon;
    const char* digits;
  };
  const Case cases[] = {
      {0, "0"},       {45.7, "16"}, {59.4, "29"}, {15.3, "15"}, {360, "0"},
      {28.5, "28"},   // a half goes to the even neighbour
      {27.5, "28"},
      {59.6, "29"},   // rounds to 30: shown as 29, the body stays in its sign
      {29.5, "29"},
  };
  for (const Case& c : cases) EXPECT_EQ(Sign_DegText(c.lon), std::string(c.digits) + " جة ") << c.lon;
}

TEST(Kepler, CircularOrbitKeepsTheMeanAnomaly) {
  for (double M : {0.0, 17.5, 180.0, 359.0}) EXPECT_EQ(Calc_Kepler(M, 0.0).value(), M);
}

TEST(Kepler, SolvesKeplersEquation) {
  struct Case {
    double M, e;
  };
  const Case cases[] = {{5, 0.0167}, {175, 0.2056}, {300, 0.0933}, {33, 0.2487}, {90, 0.6}};
  for (const Case& c : cases) {
    const double E = Calc_Kepler(c.M, c.e).value();
    const double back = E - c.e * 180.0 / 3.141592654 * Sin_Deg(E).value();
    EXPECT_NEAR(back, c.M, 1e-9) << c.M << " " << c.e;
  }
}

// Newton's 32 steps taken one by one, as the book gives them.
double Kepler_32_Steps(double M, double e) {
  const Real k = (180.0 / 3.141592654) * e;
  Real E = M + k * Sin_Deg(M) * (1.0 + e * Cos_Deg(M));
  for (int step = 0; step < 32; ++step) E = E - (E - k * Sin_Deg(E) - M) / (1.0 - e * Cos_Deg(E));
  return E.value();
}

// Ending at a fixed point or an alternating last bit leaves the bits of all 32 steps, for the
// eccentricities of the bodies (up to Pluto's) over the whole circle.
TEST(Kepler, EndingEarlyGivesTheBitsOfAll32Steps) {
  for (double e : {0.0068, 0.009, 0.0167, 0.0463, 0.0484, 0.0558, 0.0933, 0.2056, 0.2487}) {
    for (double M = 0; M < 360; M += 0.37) {
      const double E = Calc_Kepler(M, e).value(), want = Kepler_32_Steps(M, e);
      EXPECT_EQ(std::memcmp(&E, &want, sizeof E), 0) << M << " " << e;
    }
  }
}

TEST(Kepler, DivisionByZeroRaisesTheFault) {
  // With e = 1 the Newton step divides by 1 - cos E = 0 at E = 0.
  EXPECT_THROW(Calc_Kepler(0.0, 1.0), FloatError);
}
}  // namespace
