// The composed analysis text, for the window and the command line.
#include "analysis/analysis_text.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "analysis_fixture.h"

namespace {
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
    lines.push_back(text.substr(from, at - from));
  lines.push_back(text.substr(from));
  return lines;
}

const std::string kPadding(26, ' ');
}  // namespace

using AnalysisText = AnalysisTest;

// Leo picked; the Sun at 45.2 (Taurus, house 9) in trine with Saturn at 165.2 scores 3.
TEST_F(AnalysisText, WorkedExampleLeo) {
  Place_All(0);  // Aries, house 8, no aspect to the Sun or Saturn
  Pln_Rec[BodyIndex::Sun].Lon = 45.2;
  Pln_Rec[BodyIndex::Saturn].Lon = 165.2;
  const std::string text = Compose_Analysis_Text(4);

  EXPECT_EQ(Sel_Sign, 4);
  EXPECT_EQ(Pln_Rec[BodyIndex::Sun].House, 9);
  EXPECT_EQ(Pln_Score[BodyIndex::Sun], 3);
  EXPECT_EQ(text, "\r\n" + Text("caption.4") + kPadding + "\r\n\r\n\r\n" +
                      Text("sun.9.fortunate") + "\r\n" + Text("moon.8.fortunate") + "\r\n" +
                      Text("mercury.8.fortunate") + "\r\n" + Text("venus.8.fortunate") + "\r\n" +
                      Text("mars.8.fortunate"));
}

TEST_F(AnalysisText, PiscesCountsHousesFromPisces) {
  Place_All(345);
  const std::vector<std::string> lines = Lines(Compose_Analysis_Text(11));
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[1], Text("caption.11") + kPadding);
  EXPECT_EQ(lines[4], Text("sun.0.fortunate"));
  EXPECT_EQ(lines[8], Text("mars.0.fortunate"));
}

TEST_F(AnalysisText, EmptySentenceKeepsItsLine) {
  Place_All(100);
  Pln_Rec[BodyIndex::Sun].Lon = -1;   // house left as it was:
  Pln_Rec[BodyIndex::Sun].House = 12;  // not one of 0..11, so no Sun sentence
  const std::vector<std::string> lines = Lines(Compose_Analysis_Text(0));
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[5], Text("moon.3.fortunate"));
}

TEST_F(AnalysisText, LayoutOfCaptionAndSentences) {
  const std::vector<std::string> lines =
      Lines(Analysis_Text("caption", {"sun", "", "mercury", "venus", "mars"}));
  const std::vector<std::string> expected = {"", "caption" + kPadding, "", "", "sun", "",
                                             "mercury", "venus", "mars"};
  EXPECT_EQ(lines, expected);
}

TEST_F(AnalysisText, SignOutsideZeroToElevenIsRefusedBeforeAnyChange) {
  Sel_Sign = 7;
  for (const int sign : {-1, 12, 40000}) {
    EXPECT_THROW(Compose_Analysis_Text(sign), std::out_of_range) << sign;
    EXPECT_EQ(Sel_Sign, 7) << sign;
  }
}
