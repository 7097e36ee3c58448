// What zodiac-chart shows its callers, held to independent values: the text outputs byte for
// byte, the exit statuses as numbers, every JSON field against the pinned positions and the
// analysis functions, and the refused and zone-converted instants.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/analysis_state.h"
#include "analysis/analysis_text.h"
#include "analysis/position_text.h"
#include "analysis/names.h"
#include "cli/cli.h"
#include "ephemeris/shared_state.h"
#include "tests/pinned_positions.h"
#include "tests/table_rows.h"

namespace {
using Json = nlohmann::ordered_json;

struct CliResult {
  int status;
  std::string out, err;
};

CliResult Cli(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = Run_Cli(args, out, err);
  return {status, out.str(), err.str()};
}

std::string Joined(const std::vector<std::string>& args) {
  std::string s;
  for (const std::string& a : args) s += (s.empty() ? "" : " ") + a;
  return s;
}

std::vector<std::string> Keys(const Json& object) {
  std::vector<std::string> keys;
  for (const auto& item : object.items()) keys.push_back(item.key());
  return keys;
}

// The ten pinned rows of an instant.
const PinnedBody* PinnedAt(const std::vector<PinnedBody>& rows, const std::string& instant) {
  for (std::size_t k = 0; k + BodyIndex::Count <= rows.size(); k += BodyIndex::Count)
    if (rows[k].instant_utc == instant) return &rows[k];
  ADD_FAILURE() << "no pinned rows at " << instant;
  return nullptr;
}

TEST(CliOutput, TextOutputsByteForByte) {
  std::ifstream in(ZC_TEST_DATA_DIR "/cli_text_outputs.txt", std::ios::binary);
  ASSERT_TRUE(in) << "cannot open cli_text_outputs.txt";
  struct Section {
    int status = -1;
    std::vector<std::string> args;
    std::string text;
  };
  std::vector<Section> sections;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("$ ", 0) == 0) {
      std::istringstream words(line.substr(2));
      Section s;
      words >> s.status;
      for (std::string w; words >> w;) s.args.push_back(w);
      sections.push_back(s);
    } else if (!sections.empty()) {
      sections.back().text += line + "\n";
    } else {
      ASSERT_EQ(line.rfind('#', 0), 0u) << "text before the first section: " << line;
    }
  }
  ASSERT_EQ(sections.size(), 10u);
  for (const Section& s : sections) {
    const CliResult r = Cli(s.args);
    EXPECT_EQ(r.status, s.status) << Joined(s.args);
    EXPECT_EQ(s.status == 0 ? r.out : r.err, s.text) << Joined(s.args);
    EXPECT_EQ(s.status == 0 ? r.err : r.out, "") << Joined(s.args);
  }
}

// The SVG documents listed in tests/data/render/pins.txt, byte for byte, in UTC and the C
// locale as the pins were taken (tests/data/render/regenerate writes them again).
TEST(CliOutput, RenderedSvgByteForByte) {
  std::ifstream list(ZC_TEST_DATA_DIR "/render/pins.txt");
  ASSERT_TRUE(list) << "cannot open render/pins.txt";
  const Scoped_Zone utc;
  int pins = 0;
  for (std::string line; std::getline(list, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string file;
    std::vector<std::string> args;
    words >> file;
    for (std::string w; words >> w;) args.push_back(w);
    std::ifstream in(ZC_TEST_DATA_DIR "/render/" + file, std::ios::binary);
    ASSERT_TRUE(in) << file;
    const std::string pinned{std::istreambuf_iterator<char>(in), {}};
    const CliResult r = Cli(args);
    EXPECT_EQ(r.status, 0) << file << "\n" << r.err;
    EXPECT_TRUE(r.out == pinned) << file << " differs from its pin at byte "
                                 << std::mismatch(r.out.begin(), r.out.end(), pinned.begin(),
                                                  pinned.end()).first - r.out.begin();
    ++pins;
  }
  EXPECT_EQ(pins, 3);
}

// An output that cannot be written (a full disk, a closed pipe) is a failure with a message.
TEST(CliOutput, FailedWritesExitTwo) {
  struct Full : std::streambuf {
    int overflow(int) override { return traits_type::eof(); }
  };
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--help"}, {"positions", "--at", "2000-01-01T12:00Z"},
        {"render", "--at", "2000-01-01T12:00Z"}}) {
    Full full;
    std::ostream out(&full);
    std::ostringstream err;
    EXPECT_EQ(Run_Cli(args, out, err), 2) << Joined(args);
    EXPECT_EQ(err.str(), "zodiac-chart: cannot write to standard output\n") << Joined(args);
  }
}

TEST(CliOutput, PositionsJsonFieldsMatchThePinnedValues) {
  const std::vector<PinnedBody> rows = Read_Pinned_Positions();
  int flags[2] = {0, 0};  // direct, retrograde
  // 2005-04-15: the Moon's sign one step later differs from its sign now.
  for (const char* instant :
       {"0500-03-01T06:00Z", "2000-01-01T12:00Z", "2005-04-15T22:00Z", "2024-04-12T12:00Z"}) {
    const PinnedBody* pinned = PinnedAt(rows, instant);
    ASSERT_NE(pinned, nullptr);
    const CliResult r = Cli({"positions", "--at", instant, "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const Json j = Json::parse(r.out);
    EXPECT_EQ(Keys(j), (std::vector<std::string>{"instant_utc", "julian_day", "julian_centuries",
                                                 "bodies"}));
    EXPECT_EQ(j.at("instant_utc"), instant);
    EXPECT_EQ(j.at("julian_day").get<double>(), pinned->julian_day) << instant;
    EXPECT_EQ(j.at("julian_centuries").get<double>(), pinned->julian_centuries) << instant;
    ASSERT_EQ(j.at("bodies").size(), 10u);
    for (int k = 0; k < BodyIndex::Count; ++k) {
      const Json& b = j.at("bodies")[k];
      const PinnedBody& want = pinned[k];
      EXPECT_EQ(Keys(b), (std::vector<std::string>{"index", "name", "lon", "lon_next", "retro",
                                                   "sign", "tooltip"}));
      EXPECT_TRUE(b.at("index").is_number_integer() && b.at("sign").is_number_integer());
      EXPECT_EQ(b.at("index"), k);
      EXPECT_EQ(b.at("name"), want.name);
      EXPECT_NEAR(Angle_Diff(b.at("lon").get<double>(), want.lon), 0.0, 1e-9) << want.name;
      EXPECT_NEAR(Angle_Diff(b.at("lon_next").get<double>(), want.lon_next), 0.0, 1e-9) << want.name;
      EXPECT_EQ(b.at("retro"), Json(want.retro)) << want.name << " at " << instant;
      EXPECT_EQ(b.at("sign"), static_cast<int>(std::floor(want.lon / 30))) << want.name;
      EXPECT_EQ(b.at("tooltip"), Pln_Phrase(static_cast<std::int16_t>(k)) +
                                  Sign_PosText(static_cast<float>(want.lon)));
      ++flags[want.retro];
    }
  }
  EXPECT_GT(flags[0], 0);
  EXPECT_GT(flags[1], 0);
}

// houses and scores from the pinned longitudes through the analysis functions; text as the
// window composes it.
TEST(CliOutput, AnalysisJsonFieldsMatchTheAnalysisOfThePinnedSky) {
  const std::vector<PinnedBody> rows = Read_Pinned_Positions();
  struct Case {
    const char* sign_arg;
    int sign;
    const char* instant;
  };
  const Case cases[] = {{"leo", 4, "2000-01-01T12:00Z"},
                        {"11", 11, "2024-04-12T12:00Z"},
                        {"برج الحمل", 0, "0500-03-01T06:00Z"}};
  for (const Case& c : cases) {
    const PinnedBody* pinned = PinnedAt(rows, c.instant);
    ASSERT_NE(pinned, nullptr);
    const CliResult r = Cli({"analysis", "--sign", c.sign_arg, "--at", c.instant, "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const Json j = Json::parse(r.out);
    EXPECT_EQ(Keys(j), (std::vector<std::string>{"instant_utc", "sign", "caption", "houses",
                                                 "scores", "text"}));
    EXPECT_EQ(j.at("instant_utc"), c.instant);
    EXPECT_EQ(j.at("sign"), c.sign);
    EXPECT_EQ(j.at("caption"), kSignCaptions[c.sign]);

    for (int k = 0; k < BodyIndex::Count; ++k)
      Pln_Rec[k] = {pinned[k].lon, pinned[k].retro ? kTrue16 : kFalse16, 0.0};
    Pick_Sign(static_cast<std::int16_t>(c.sign));
    ASSERT_EQ(j.at("houses").size(), 10u);
    ASSERT_EQ(j.at("scores").size(), 10u);
    for (int k = 0; k < BodyIndex::Count; ++k) {
      const int house = (static_cast<int>(std::floor(pinned[k].lon / 30)) - c.sign + 12) % 12;
      EXPECT_EQ(j.at("houses")[k].get<double>(), house) << k << " for " << c.sign_arg;
      EXPECT_EQ(j.at("scores")[k], Pln_Score[k]) << k << " for " << c.sign_arg;
    }
    EXPECT_EQ(j.at("text"), Analysis_Text(kSignCaptions[c.sign], Analyse_Planets())) << c.sign_arg;
  }
}
}  // namespace
