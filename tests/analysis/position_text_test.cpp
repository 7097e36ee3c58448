// Position texts: body phrases, sign by the closed ranges, degree apart from the sign.
#include "analysis/position_text.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "analysis_fixture.h"

namespace {
constexpr const char* kDegreeSuffix = " جة ";

bool EndsWithOneBlank(const std::string& s) {
  return s.size() >= 2 && s.back() == ' ' && s[s.size() - 2] != ' ';
}
}  // namespace

TEST(PositionText, BodyPhrasesMatchTheTexts) {
  for (std::int16_t k = 0; k < 10; ++k) {
    const std::string phrase = Pln_Phrase(k);
    EXPECT_EQ(phrase, Text("body." + std::to_string(k))) << k;
    EXPECT_TRUE(EndsWithOneBlank(phrase)) << k;
  }
}

TEST(PositionText, BodyIndexOutsideTheTableIsEmpty) {
  for (const std::int16_t k : {std::int16_t{-1}, std::int16_t{10}, std::int16_t{11},
                               std::numeric_limits<std::int16_t>::min(),
                               std::numeric_limits<std::int16_t>::max()})
    EXPECT_EQ(Pln_Phrase(k), "") << k;
}

TEST(PositionText, SignPhrasesMatchTheTexts) {
  // Mid-sign, away from every boundary: the phrase follows the degree text.
  for (int k = 0; k < 12; ++k) {
    const float lon = 30.0f * k + 15.0f;
    EXPECT_EQ(Sign_PosText(lon), "15" + std::string(kDegreeSuffix) + Text("sign." + std::to_string(k)))
        << k;
  }
}

TEST(PositionText, DegreeAndSignAtTheEdges) {
  struct Case {
    float lon;
    const char* degree;
    int sign;
  };
  const Case cases[] = {
      {0.0f, "0", 0},     {-0.0f, "0", 0},   {30.0f, "0", 0},    // 30 stays in Aries
      {30.5f, "0", 1},    {28.5f, "28", 0},  {29.5f, "29", 0},   // 30 after rounding reads 29
      {29.6f, "29", 0},   {45.2f, "15", 1},  {60.0f, "0", 1},    // 60 is Taurus
      {15.3f, "15", 0},   {359.9f, "29", 11}, {360.0f, "0", 11},  // 360 is Pisces
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Sign_PosText(c.lon),
              c.degree + std::string(kDegreeSuffix) + Text("sign." + std::to_string(c.sign)))
        << c.lon;
  }
}

TEST(PositionText, OutsideEveryRangeIsEmpty) {
  const float inf = std::numeric_limits<float>::infinity();
  for (const float lon : {361.0f, 360.0001f, -0.5f, -1e-6f, std::nanf(""), inf, -inf})
    EXPECT_EQ(Sign_PosText(lon), "") << lon;
}

TEST(PositionText, EveryTextEndsWithOneBlank) {
  for (int q = 0; q <= 1440; ++q) {
    const float lon = q * 0.25f;
    EXPECT_TRUE(EndsWithOneBlank(Sign_PosText(lon))) << lon;
  }
}

TEST(PositionText, HalfDegreesGoToTheEvenNeighbourWithinTheSign) {
  // Every x.5 of every sign: 0.5 reads 0, 1.5 reads 2, ..., 28.5 reads 28; 29.5 would round
  // to 30 and reads 29, so the degree never names a place outside the sign.
  for (int sign = 0; sign < 12; ++sign) {
    for (int degree = 0; degree < 30; ++degree) {
      const float lon = 30.0f * sign + degree + 0.5f;
      const int shown = degree == 29 ? 29 : degree + degree % 2;
      EXPECT_EQ(Sign_PosText(lon), std::to_string(shown) + kDegreeSuffix +
                                       Text("sign." + std::to_string(sign)))
          << lon;
    }
  }
}
