// The zodiac-chart commands.
#include "cli/cli.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <string_view>

#include "analysis/analysis_state.h"
#include "analysis/analysis_text.h"
#include "analysis/position_text.h"
#include "analysis/sign_captions.h"
#include "analysis/sign_of.h"
#include "control/instant.h"
#include "control/startup.h"
#include "ephemeris/float_check.h"
#include "ephemeris/shared_state.h"

namespace {
constexpr const char* kVersion = "zodiac-chart 0.1.0";

constexpr const char* kUsage =
    "usage: zodiac-chart positions [--at INSTANT] [--json]\n"
    "       zodiac-chart analysis --sign SIGN [--at INSTANT] [--json]\n"
    "       zodiac-chart --help | --version\n";

constexpr const char* kHelp =
    "zodiac-chart: where the Sun, the Moon and the planets stand, by low-precision\n"
    "analytic theories, as geocentric ecliptic longitudes of date, and the daily\n"
    "analysis for a sign.\n"
    "\n"
    "usage: zodiac-chart positions [--at INSTANT] [--json]\n"
    "       zodiac-chart analysis --sign SIGN [--at INSTANT] [--json]\n"
    "       zodiac-chart --help | --version\n"
    "\n"
    "commands:\n"
    "  positions      the ten bodies' longitudes, signs, retrograde marks and tooltips\n"
    "  analysis       the daily analysis for one sign: a sentence each for the Sun, the\n"
    "                 Moon, Mercury, Venus and Mars\n"
    "\n"
    "options:\n"
    "  --at INSTANT   YYYY-MM-DDTHH:MM[:SS] with an optional zone Z, +HH:MM or -HH:MM;\n"
    "                 without a zone, the machine's local time; 'now' (the default) for\n"
    "                 the present instant. Years 0001 to 9999; dates before 1582-10-15\n"
    "                 are in the Julian calendar. Seconds are dropped.\n"
    "  --sign SIGN    0 (Aries) to 11 (Pisces), an English sign name (aries ... pisces,\n"
    "                 any case) or the Arabic caption of the sign label (\"برج الحمل\" ...)\n"
    "  --json         one JSON object instead of text\n"
    "\n"
    "exit status: 0 done, 1 date in the 1582 calendar gap, 2 bad usage, 3 computation fault\n";

constexpr const char* kBodyNames[10] = {"Sun",     "Moon",   "Mercury", "Venus",   "Mars",
                                        "Jupiter", "Saturn", "Uranus",  "Neptune", "Pluto"};
constexpr const char* kSignNames[12] = {"Aries", "Taurus",      "Gemini",    "Cancer",
                                        "Leo",   "Virgo",       "Libra",     "Scorpio",
                                        "Sagittarius", "Capricorn", "Aquarius", "Pisces"};

// Text that reads back to the same double: 17 significant digits, trailing zeros dropped.
std::string Num(double x) {
  char buf[40];
  const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 17);
  return std::string(buf, res.ptr);
}

// A JSON string literal of UTF-8 text.
std::string JsonString(std::string_view text) {
  std::string s = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': s += "\\\""; break;
      case '\\': s += "\\\\"; break;
      case '\r': s += "\\r"; break;
      case '\n': s += "\\n"; break;
      case '\t': s += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          s += buf;
        } else {
          s += c;
        }
    }
  }
  return s + "\"";
}

// The glyph's tooltip: the body phrase, then the position text of the longitude in single
// precision.
std::string Tooltip(int k) {
  return Pln_Phrase(static_cast<std::int16_t>(k)) + Sign_PosText(static_cast<float>(Pln_Rec[k].Lon));
}

int UsageError(std::ostream& err, const std::string& what) {
  err << "zodiac-chart: " << what << "\n" << kUsage << "Try 'zodiac-chart --help'.\n";
  return kExitUsage;
}

// Options shared by the commands.
struct Options {
  std::string at = "now";
  std::string sign;
  bool has_sign = false;
  bool json = false;
  bool help = false;
};

// Parses args[1..]; returns an error text, empty when fine.
std::string ParseOptions(const std::vector<std::string>& args, bool takes_sign, Options& o) {
  for (std::size_t k = 1; k < args.size(); ++k) {
    const std::string& a = args[k];
    if (a == "--json") {
      o.json = true;
    } else if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--at" || (takes_sign && a == "--sign")) {
      if (k + 1 >= args.size()) return a + " needs a value";
      (a == "--at" ? o.at : o.sign) = args[++k];
      if (a == "--sign") o.has_sign = true;
    } else if (a.rfind("--at=", 0) == 0) {
      o.at = a.substr(5);
    } else if (takes_sign && a.rfind("--sign=", 0) == 0) {
      o.sign = a.substr(7);
      o.has_sign = true;
    } else {
      return "unknown option '" + a + "' for " + args[0];
    }
  }
  return "";
}

constexpr int kGoOn = -1;

// Parses the options of a command; returns kGoOn, or the exit status after a usage error or
// the help text.
int ReadOptions(const std::vector<std::string>& args, bool takes_sign, Options& o,
                std::ostream& out, std::ostream& err) {
  if (const std::string error = ParseOptions(args, takes_sign, o); !error.empty())
    return UsageError(err, error);
  if (o.help) {
    out << kHelp;
    return kExitOk;
  }
  return kGoOn;
}

// The sign number of SIGN: 0..11, an English name in any case, or a label caption; -1 if none.
int ParseSign(const std::string& text) {
  if (!text.empty() && text.size() <= 2 && text.find_first_not_of("0123456789") == std::string::npos) {
    const int n = std::stoi(text);
    return n <= 11 ? n : -1;
  }
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (int k = 0; k < 12; ++k) {
    std::string name = kSignNames[k];
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == name || text == kSignCaptions[k]) return k;
  }
  return -1;
}

// Plain platform for the command line: the message box text goes to standard error.
class CliPlatform : public Platform {
 public:
  explicit CliPlatform(std::ostream& err) : err_(err) {}
  void Message_Box(std::string_view text, int) override { err_ << text << "\n"; }
  CivilTime Clock_Utc() override { return Now_Utc(); }
  std::string Date_Text() override { return {}; }
  Show_Result Show_Modal(FrmAnalyse&) override { return Show_Result::Shown; }
  void Hide(FrmAnalyse&) override {}
  void Start_Window_Move(FrmAnalyse&) override {}

 private:
  std::ostream& err_;
};

struct Sky {
  std::string instant_utc;
  double julian_day = 0;
  double julian_centuries = 0;  // as the time base produced it, before the one-step advance
};

// Computes the body table for the instant text; returns an exit status, kExitOk when the
// table is filled.
int ComputeSky(const std::string& at, Sky& sky, std::ostream& err) {
  const InstantParse parsed = Parse_Instant(at);
  if (parsed.status == InstantParse::Status::Invalid)
    return UsageError(err, "invalid instant '" + at + "': " + parsed.error);
  CliPlatform platform(err);
  if (parsed.status == InstantParse::Status::CalendarGap) {
    platform.Message_Box(kCalendarGapMessage, kStopIconOk);
    return kExitCalendarGap;
  }
  sky.instant_utc = Format_Utc_Minute(parsed.utc);
  try {
    if (!Calc_Time(parsed.utc)) {
      platform.Message_Box(kCalendarGapMessage, kStopIconOk);
      return kExitCalendarGap;
    }
    sky.julian_day = JulianDay;
    sky.julian_centuries = JulianCenturies;
    Compute_Positions();
  } catch (const FloatError& e) {
    err << "zodiac-chart: " << e.what() << "\n";
    return kExitFault;
  }
  return kExitOk;
}

void PrintPositionsJson(const Sky& sky, std::ostream& out) {
  out << "{\"instant_utc\": " << JsonString(sky.instant_utc)
      << ", \"julian_day\": " << Num(sky.julian_day)
      << ", \"julian_centuries\": " << Num(sky.julian_centuries) << ", \"bodies\": [";
  for (int k = 0; k < BodyIndex::Count; ++k) {
    const Pln_Record& rec = Pln_Rec[k];
    out << (k ? ", " : "") << "{\"index\": " << k << ", \"name\": \"" << kBodyNames[k]
        << "\", \"lon\": " << Num(rec.Lon) << ", \"lon_next\": " << Num(Pln_Lon[k])
        << ", \"retro\": " << (rec.Retro == kTrue16 ? "true" : "false")
        << ", \"sign\": " << Sign_Of(rec.Lon) << ", \"tooltip\": " << JsonString(Tooltip(k))
        << "}";
  }
  out << "]}\n";
}

void PrintPositionsTable(const Sky& sky, std::ostream& out) {
  char line[256];
  std::snprintf(line, sizeof line, "Sky at %s  (JD %.5f)\n\n", sky.instant_utc.c_str(),
                sky.julian_day);
  out << line << "  Body        Longitude  Sign          Motion        Tooltip\n";
  for (int k = 0; k < BodyIndex::Count; ++k) {
    const Pln_Record& rec = Pln_Rec[k];
    const int sign = Sign_Of(rec.Lon);
    std::snprintf(line, sizeof line, "  %-10s %9.2f°  %-12s  %-12s  ", kBodyNames[k], rec.Lon,
                  sign >= 0 ? kSignNames[sign] : "?",
                  rec.Retro == kTrue16 ? "retrograde ℞" : "");
    out << line << Tooltip(k) << "\n";
  }
}

int Positions(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Options o;
  if (const int status = ReadOptions(args, false, o, out, err); status != kGoOn) return status;
  Sky sky;
  if (const int status = ComputeSky(o.at, sky, err); status != kExitOk) return status;
  if (o.json) {
    PrintPositionsJson(sky, out);
  } else {
    PrintPositionsTable(sky, out);
  }
  return kExitOk;
}

// The analysis text with the terminal's line breaks.
std::string ForTerminal(const std::string& text) {
  std::string s;
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n') continue;
    s += text[k];
  }
  return s;
}

int Analysis(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Options o;
  if (const int status = ReadOptions(args, true, o, out, err); status != kGoOn) return status;
  if (!o.has_sign) return UsageError(err, "analysis needs --sign SIGN");
  const int sign = ParseSign(o.sign);
  if (sign < 0)
    return UsageError(err, "unknown sign '" + o.sign +
                               "': use 0..11, aries..pisces or the Arabic sign caption");
  Sky sky;
  if (const int status = ComputeSky(o.at, sky, err); status != kExitOk) return status;

  std::string text;
  try {
    text = Compose_Analysis_Text(sign);
  } catch (const std::exception& e) {
    err << "zodiac-chart: " << e.what() << "\n";
    return kExitFault;
  }
  if (!o.json) {
    out << ForTerminal(text) << "\n";
    return kExitOk;
  }
  out << "{\"instant_utc\": " << JsonString(sky.instant_utc) << ", \"sign\": " << sign
      << ", \"caption\": " << JsonString(kSignCaptions[sign]) << ", \"houses\": [";
  for (int k = 0; k < BodyIndex::Count; ++k) out << (k ? ", " : "") << Num(Pln_Rec[k].House);
  out << "], \"scores\": [";
  for (int k = 0; k < BodyIndex::Count; ++k) out << (k ? ", " : "") << Pln_Score[k];
  out << "], \"text\": " << JsonString(text) << "}\n";
  return kExitOk;
}
}  // namespace

int Run_Cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) return UsageError(err, "missing command");
  const std::string& cmd = args[0];
  if (cmd == "--help" || cmd == "-h" || cmd == "help") {
    out << kHelp;
    return kExitOk;
  }
  if (cmd == "--version") {
    out << kVersion << "\n";
    return kExitOk;
  }
  if (cmd == "positions") return Positions(args, out, err);
  if (cmd == "analysis") return Analysis(args, out, err);
  return UsageError(err, "unknown command '" + cmd + "'");
}
