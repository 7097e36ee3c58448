// The zodiac-chart command line, driven in-process.
#include "cli/cli.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

#include "ephemeris/shared_state.h"
#include "ephemeris/time_base.h"

namespace {
struct CliRun {
  int status;
  std::string out, err;
};

CliRun Cli(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = Run_Cli(args, out, err);
  return {status, out.str(), err.str()};
}

// The number after "key": in a JSON text, as a double.
double JsonNumber(const std::string& json, const std::string& key, std::size_t from = 0) {
  const std::size_t at = json.find("\"" + key + "\":", from);
  EXPECT_NE(at, std::string::npos) << key;
  return std::strtod(json.c_str() + at + key.size() + 3, nullptr);
}

TEST(CliPositions, JsonAtJ2000) {
  const CliRun r = Cli({"positions", "--at", "2000-01-01T12:00Z", "--json"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("\"instant_utc\":\"2000-01-01T12:00Z\""), std::string::npos);
  EXPECT_EQ(JsonNumber(r.out, "julian_day"), 2451545.0);
  EXPECT_EQ(JsonNumber(r.out, "julian_centuries"), 1.0);
  EXPECT_NE(r.out.find("\"julian_centuries\":1,"), std::string::npos);
  const char* names[] = {"Sun",     "Moon",   "Mercury", "Venus",   "Mars",
                         "Jupiter", "Saturn", "Uranus",  "Neptune", "Pluto"};
  std::size_t from = 0;
  for (int k = 0; k < BodyIndex::Count; ++k) {
    const std::size_t at = r.out.find("{\"index\":" + std::to_string(k) + ",\"name\":\"" +
                                      names[k] + "\"", from);
    ASSERT_NE(at, std::string::npos) << names[k];
    // Every number reads back to the double in the table.
    EXPECT_EQ(JsonNumber(r.out, "lon", at), Pln_Rec[k].Lon) << names[k];
    EXPECT_EQ(JsonNumber(r.out, "lon_next", at), Pln_Lon[k]) << names[k];
    EXPECT_EQ(JsonNumber(r.out, "sign", at), std::floor(Pln_Rec[k].Lon / 30)) << names[k];
    from = at + 1;
  }
  EXPECT_NE(r.out.find("\"name\":\"Saturn\",\"lon\":"), std::string::npos);
  EXPECT_EQ(r.out.back(), '\n');
}

TEST(CliPositions, PlainTableListsEveryBody) {
  const CliRun r = Cli({"positions", "--at", "2000-01-01T12:00Z"});
  ASSERT_EQ(r.status, kExitOk);
  for (const char* needle : {"Sun", "280.37", "Capricorn", "Saturn", "retrograde", "زحل",
                             "Pluto", "بلوطون", "برج القوس"})
    EXPECT_NE(r.out.find(needle), std::string::npos) << needle;
}

}  // namespace

namespace {
// The text of a JSON string value after "key":, with \r, \n, \" and \\ unescaped.
std::string JsonText(const std::string& json, const std::string& key) {
  const std::size_t at = json.find("\"" + key + "\":\"");
  EXPECT_NE(at, std::string::npos) << key;
  std::string s;
  for (std::size_t k = at + key.size() + 4; k < json.size() && json[k] != '"'; ++k) {
    if (json[k] != '\\') {
      s += json[k];
      continue;
    }
    const char c = json[++k];
    s += c == 'r' ? '\r' : c == 'n' ? '\n' : c;
  }
  return s;
}

TEST(CliPositions, TooltipsReadAsTheGlyphsShowThem) {
  const CliRun r = Cli({"positions", "--at", "2000-01-01T12:00Z", "--json"});
  ASSERT_EQ(r.status, kExitOk);
  // The Sun at 280.37°: the 10th degree of Capricorn.
  EXPECT_EQ(JsonText(r.out, "tooltip"), "الشمس في 10 جة من برج الجدي ");
  EXPECT_NE(r.out.find("\"tooltip\":\"زحل في 10 جة من برج الثور \""), std::string::npos);
}

TEST(CliAnalysis, LeoAtJ2000) {
  const CliRun r = Cli({"analysis", "--sign", "leo", "--at", "2000-01-01T12:00Z", "--json"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_NE(r.out.find("\"sign\":4,\"caption\":\"برج الأسد\""), std::string::npos);
  // Sun in Capricorn and Moon in Scorpio: 5 and 3 signs past Leo.
  EXPECT_NE(r.out.find("\"houses\":[5,3,"), std::string::npos) << r.out;
  const std::string text = JsonText(r.out, "text");
  EXPECT_EQ(text.rfind("\r\nبرج الأسد" + std::string(26, ' ') + "\r\n\r\n\r\n", 0), 0u);
  std::size_t breaks = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
    ++breaks;
  EXPECT_EQ(breaks, 8u);
  EXPECT_NE(text.find("\r\nالشمس "), std::string::npos);
  EXPECT_NE(text.find("\r\nالمريخ "), std::string::npos);
  EXPECT_NE(text.back(), '\n');

  // The plain text is the same with the terminal's line breaks.
  const CliRun plain = Cli({"analysis", "--sign", "leo", "--at", "2000-01-01T12:00Z"});
  ASSERT_EQ(plain.status, kExitOk);
  std::string expected;
  for (char c : text)
    if (c != '\r') expected += c;
  EXPECT_EQ(plain.out, expected + "\n");
}

}  // namespace
