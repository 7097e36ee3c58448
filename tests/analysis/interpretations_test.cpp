// Interpretation sentences: every text against the independent copy, the score thresholds
// and the houses that give no sentence.
#include "analysis/interpretations.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "analysis_fixture.h"

namespace {
struct Planet {
  const char* key;
  int body;
  std::string (*analyse)();
};
const Planet kPlanets[] = {
    {"sun", BodyIndex::Sun, Analyse_Sun},
    {"moon", BodyIndex::Moon, Analyse_Moon},
    {"mercury", BodyIndex::Mercury, Analyse_Mercury},
    {"venus", BodyIndex::Venus, Analyse_Venus},
    {"mars", BodyIndex::Mars, Analyse_Mars},
};

std::string Key(const Planet& p, int house, bool fortunate) {
  return std::string(p.key) + "." + std::to_string(house) + (fortunate ? ".fortunate" : ".afflicted");
}
}  // namespace

using Interpretations = AnalysisTest;

TEST_F(Interpretations, EveryTextMatchesTheAstrologersWording) {
  for (const Planet& p : kPlanets) {
    for (int house = 0; house < 12; ++house) {
      for (const bool fortunate : {true, false}) {
        Pln_Rec[p.body].House = house;
        Pln_Score[p.body] = fortunate ? 1 : -1;
        EXPECT_EQ(p.analyse(), Text(Key(p, house, fortunate))) << Key(p, house, fortunate);
      }
    }
  }
}

TEST_F(Interpretations, SunQualifiesAtZeroTheOthersAboveZero) {
  struct Case {
    std::int16_t score;
    bool sun_fortunate;
    bool others_fortunate;
  };
  const Case cases[] = {
      {0, true, false},
      {1, true, true},
      {-1, false, false},
      {std::numeric_limits<std::int16_t>::max(), true, true},
      {std::numeric_limits<std::int16_t>::min(), false, false},
  };
  for (const Case& c : cases) {
    for (const Planet& p : kPlanets) {
      Pln_Rec[p.body].House = 5;
      Pln_Score[p.body] = c.score;
      const bool fortunate = p.body == BodyIndex::Sun ? c.sun_fortunate : c.others_fortunate;
      EXPECT_EQ(p.analyse(), Text(Key(p, 5, fortunate))) << p.key << " score " << c.score;
    }
  }
}

TEST_F(Interpretations, HouseNotAWholeNumberZeroToElevenGivesNoText) {
  const double houses[] = {-1, 12, 0.5, 11.000001, -12, std::nan(""),
                           std::numeric_limits<double>::infinity()};
  for (const double house : houses) {
    for (const Planet& p : kPlanets) {
      Pln_Rec[p.body].House = house;
      Pln_Score[p.body] = 1;
      EXPECT_EQ(p.analyse(), "") << p.key << " house " << house;
    }
  }
}
