// Houses from the picked sign and the aspect scores.
#include "analysis/houses.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "analysis_fixture.h"
#include "ephemeris/float_check.h"

using Houses = AnalysisTest;
using Scores = AnalysisTest;

TEST_F(Houses, CountedFromThePickedSign) {
  struct Case {
    std::int16_t sel;
    double lon;
    double house;
  };
  const Case cases[] = {
      {4, 45.2, 9},   // Taurus seen from Leo
      {4, 130, 0},    // in the picked sign
      {4, 100, 11},   // the sign before it
      {1, 60, 0},     // 60 is Taurus, not Gemini
      {2, 60, 11},
      {0, 30, 0},     // 30 is Aries
      {11, 360, 0},   // 360 is Pisces
      {11, 0, 1},
      {0, 359, 11},
      {0, 330.5, 11},
  };
  for (const Case& c : cases) {
    Sel_Sign = c.sel;
    Place_All(c.lon);
    Calc_Houses();
    for (int i = 0; i < BodyIndex::Count; ++i)
      EXPECT_EQ(Pln_Rec[i].House, c.house) << "sel " << c.sel << " lon " << c.lon << " body " << i;
  }
}

TEST_F(Houses, LongitudeOutsideTheRangesKeepsTheHouse) {
  for (const double lon : {-0.5, 360.5, 1e6}) {
    Place_All(100);
    Pln_Rec[BodyIndex::Venus].House = 7;
    Pln_Rec[BodyIndex::Venus].Lon = lon;
    Calc_Houses();
    EXPECT_EQ(Pln_Rec[BodyIndex::Venus].House, 7) << lon;
    EXPECT_EQ(Pln_Rec[BodyIndex::Sun].House, 3) << lon;
  }
}

TEST_F(Houses, SlotTenIsLeftAlone) {
  Pln_Rec[10].House = 5;
  Pln_Score[10] = 42;
  Calc_Houses();
  EXPECT_EQ(Pln_Rec[10].House, 5);
  EXPECT_EQ(Pln_Score[10], 42);
}

TEST_F(Houses, NotANumberKeepsItsHouseThenFaultsInTheScoring) {
  Place_All(45.2);
  Sel_Sign = 4;
  Pln_Rec[BodyIndex::Mars].House = 2;
  Pln_Rec[BodyIndex::Mars].Lon = std::nan("");
  EXPECT_THROW(Calc_Houses(), FloatError);
  EXPECT_EQ(Pln_Rec[BodyIndex::Mars].House, 2);
  EXPECT_EQ(Pln_Rec[BodyIndex::Pluto].House, 9);  // written before the fault
}

TEST_F(Houses, SixteenBitOverflowRaises) {
  Sel_Sign = std::numeric_limits<std::int16_t>::min();
  EXPECT_THROW(Calc_Houses(), std::overflow_error);
}

TEST_F(Scores, AspectBandsHaveStrictLimits) {
  // The Sun against Pluto at distance D, every other body on the Sun (D = 0, no aspect).
  struct Case {
    double D;
    int weight;  // with Pluto as the partner
  };
  const Case cases[] = {
      {0, 0},      {5, -3},    {9.9, -3},  {10, 0},     {9.9999999999, 0},  // rounded to 10
      {350, 0},    {350.00000001, 0},      {350.1, -3}, {355, -3},  {360, -3},
      {54, 0},     {54.1, 1},  {60, 1},    {66, 0},     {294, 0},   {300, 1}, {306, 0},
      {82, 0},     {90, -2},   {98, 0},    {262, 0},    {270, -2},  {278, 0},
      {112, 0},    {120, 2},   {128, 0},   {232, 0},    {240, 2},   {248, 0},
      {170, 0},    {170.1, -2}, {180, -2}, {189.9, -2}, {190, 0},   {200, 0},
  };
  for (const Case& c : cases) {
    for (const double base : {0.0, 360.0}) {  // partner above, then below
      Place_All(base);
      Pln_Rec[BodyIndex::Pluto].Lon = base == 0.0 ? c.D : base - c.D;
      Calc_Scores();
      EXPECT_EQ(Pln_Score[BodyIndex::Sun], 1 + c.weight) << "D " << c.D << " base " << base;
      EXPECT_EQ(Pln_Score[BodyIndex::Pluto], 1) << "D " << c.D;
    }
  }
}

TEST_F(Scores, ConjunctionWeightDependsOnThePartner) {
  const int weight[10] = {0, 3, 3, 3, -3, 3, -3, -3, -3, -3};
  for (int j = 1; j < BodyIndex::Count; ++j) {
    Place_All(200);
    Pln_Rec[j].Lon = 205;
    Calc_Scores();
    EXPECT_EQ(Pln_Score[BodyIndex::Sun], 1 + weight[j]) << "partner " << j;
  }
}

TEST_F(Scores, OnlyTheEarlierBodyOfAPairChanges) {
  struct Case {
    int i, j;
    int score_i;
  };
  const Case cases[] = {
      {BodyIndex::Moon, BodyIndex::Mars, -2},
      {BodyIndex::Mercury, BodyIndex::Pluto, -2},
      {BodyIndex::Venus, BodyIndex::Jupiter, 4},
      {BodyIndex::Mars, BodyIndex::Saturn, -2},
  };
  for (const Case& c : cases) {
    Place_All(0);  // 200 and 205 away from 0 make no aspect
    Pln_Rec[c.i].Lon = 200;
    Pln_Rec[c.j].Lon = 205;
    Calc_Scores();
    for (int k = 0; k < BodyIndex::Count; ++k)
      EXPECT_EQ(Pln_Score[k], k == c.i ? c.score_i : 1) << c.i << "-" << c.j << " body " << k;
  }
}

TEST_F(Scores, AspectsAddUpAndRunsDoNotAccumulate) {
  Place_All(0);
  Pln_Rec[BodyIndex::Sun].Lon = 120;      // trine with the eight bodies left at 0
  Pln_Rec[BodyIndex::Jupiter].Lon = 125;  // and a conjunction with Jupiter
  for (int run = 0; run < 2; ++run) {
    Calc_Scores();
    EXPECT_EQ(Pln_Score[BodyIndex::Sun], 8 * 2 + 3 + 1) << run;
    EXPECT_EQ(Pln_Score[BodyIndex::Moon], 2 + 1) << run;  // trine with Jupiter
  }
}

TEST_F(Scores, OutOfRangeLongitudeStillTakesPart) {
  Place_All(200);
  Pln_Rec[BodyIndex::Sun].Lon = 5;
  Pln_Rec[BodyIndex::Mars].Lon = 365;  // D = 360: a conjunction with Mars
  Calc_Houses();
  EXPECT_EQ(Pln_Score[BodyIndex::Sun], -2);
}

TEST_F(Scores, FlagSetSubtractsOne) {
  Score_Flag[BodyIndex::Venus] = kTrue16;
  Calc_Scores();
  EXPECT_EQ(Pln_Score[BodyIndex::Venus], -1);
  EXPECT_EQ(Pln_Score[BodyIndex::Mars], 1);
}
