// The zodiac-chart commands.
#include "cli/cli.h"

#include <charconv>
#include <cstdio>
#include <string_view>

#include "analysis/sign_of.h"
#include "cli/instant.h"
#include "control/shared_state.h"
#include "control/sign_labels.h"
#include "control/startup.h"
#include "ephemeris/float_check.h"

namespace {
constexpr const char* kVersion = "zodiac-chart 0.1.0";

constexpr const char* kUsage =
    "usage: zodiac-chart positions [--at INSTANT] [--json]\n"
    "       zodiac-chart --help | --version\n";

constexpr const char* kHelp =
    "zodiac-chart: where the Sun, the Moon and the planets stand, by low-precision\n"
    "analytic theories, as geocentric ecliptic longitudes of date.\n"
    "\n"
    "usage: zodiac-chart positions [--at INSTANT] [--json]\n"
    "       zodiac-chart --help | --version\n"
    "\n"
    "commands:\n"
    "  positions      the ten bodies' longitudes, signs and retrograde marks\n"
    "\n"
    "options:\n"
    "  --at INSTANT   YYYY-MM-DDTHH:MM[:SS] with an optional zone Z, +HH:MM or -HH:MM;\n"
    "                 without a zone, the machine's local time; 'now' (the default) for\n"
    "                 the present instant. Years 0001 to 9999; dates before 1582-10-15\n"
    "                 are in the Julian calendar. Seconds are dropped.\n"
    "  --json         one JSON object instead of a table\n"
    "\n"
    "exit status: 0 done, 1 date in the 1582 calendar gap, 2 bad usage, 3 computation fault\n";

constexpr const char* kBodyNames[10] = {"Sun",     "Moon",   "Mercury", "Venus",   "Mars",
                                        "Jupiter", "Saturn", "Uranus",  "Neptune", "Pluto"};
constexpr const char* kBodyNamesArabic[10] = {"الشمس",  "القمر", "عطارد",   "الزهرة", "المريخ",
                                              "المشتري", "زحل",   "أورانوس", "نبتون",  "بلوطون"};
constexpr const char* kSignNames[12] = {"Aries", "Taurus",      "Gemini",    "Cancer",
                                        "Leo",   "Virgo",       "Libra",     "Scorpio",
                                        "Sagittarius", "Capricorn", "Aquarius", "Pisces"};

// Shortest text that reads back to the same double, within 17 significant digits.
std::string Num(double x) {
  char buf[40];
  const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 17);
  return std::string(buf, res.ptr);
}

int UsageError(std::ostream& err, const std::string& what) {
  err << "zodiac-chart: " << what << "\n" << kUsage << "Try 'zodiac-chart --help'.\n";
  return kExitUsage;
}

struct Sky {
  std::string instant_utc;
  double julian_day = 0;
  double julian_centuries = 0;  // as the time base produced it, before the one-step advance
};

// Plain platform for the command line: the message box text goes to standard error.
class CliPlatform : public Platform {
 public:
  explicit CliPlatform(std::ostream& err) : err_(err) {}
  void Message_Box(std::string_view text) override { err_ << text << "\n"; }

 private:
  std::ostream& err_;
};

void PrintJson(const Sky& sky, std::ostream& out) {
  out << "{\"instant_utc\": \"" << sky.instant_utc << "\", \"julian_day\": " << Num(sky.julian_day)
      << ", \"julian_centuries\": " << Num(sky.julian_centuries) << ", \"bodies\": [";
  for (int k = 0; k < BodyIndex::Count; ++k) {
    const Pln_Record& rec = Pln_Rec[k];
    out << (k ? ", " : "") << "{\"index\": " << k << ", \"name\": \"" << kBodyNames[k]
        << "\", \"lon\": " << Num(rec.Lon) << ", \"lon_next\": " << Num(Pln_Lon[k])
        << ", \"retro\": " << (rec.Retro == kTrue16 ? "true" : "false")
        << ", \"sign\": " << Sign_Of(rec.Lon) << "}";
  }
  out << "]}\n";
}

void PrintTable(const Sky& sky, std::ostream& out) {
  char line[256];
  std::snprintf(line, sizeof line, "Sky at %s  (JD %.5f)\n\n", sky.instant_utc.c_str(),
                sky.julian_day);
  out << line;
  out << "  Body        Longitude  Sign          Motion\n";
  for (int k = 0; k < BodyIndex::Count; ++k) {
    const Pln_Record& rec = Pln_Rec[k];
    const int sign = Sign_Of(rec.Lon);
    std::snprintf(line, sizeof line, "  %-10s %9.2f°  %-12s  %-12s  ", kBodyNames[k], rec.Lon,
                  sign >= 0 ? kSignNames[sign] : "?",
                  rec.Retro == kTrue16 ? "retrograde ℞" : "");
    out << line << kBodyNamesArabic[k] << " · " << (sign >= 0 ? kSignCaptions[sign] : "")
        << "\n";
  }
}

int Positions(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string at = "now";
  bool json = false;
  for (std::size_t k = 1; k < args.size(); ++k) {
    const std::string& a = args[k];
    if (a == "--json") {
      json = true;
    } else if (a == "--at") {
      if (k + 1 >= args.size()) return UsageError(err, "--at needs an INSTANT");
      at = args[++k];
    } else if (a.rfind("--at=", 0) == 0) {
      at = a.substr(5);
    } else if (a == "--help" || a == "-h") {
      out << kHelp;
      return kExitOk;
    } else {
      return UsageError(err, "unknown option '" + a + "' for positions");
    }
  }

  const InstantParse parsed = Parse_Instant(at);
  if (parsed.status == InstantParse::Status::Invalid)
    return UsageError(err, "invalid instant '" + at + "': " + parsed.error);
  if (parsed.status == InstantParse::Status::CalendarGap) {
    err << kCalendarGapMessage << "\n";
    return kExitCalendarGap;
  }

  CliPlatform platform(err);
  Sky sky;
  sky.instant_utc = Format_Utc_Minute(parsed.utc);
  try {
    if (!Calc_Time(parsed.utc)) {
      platform.Message_Box(kCalendarGapMessage);
      return kExitCalendarGap;
    }
    sky.julian_day = JulianDay;
    sky.julian_centuries = JulianCenturies;
    Compute_Positions();
  } catch (const FloatError& e) {
    err << "zodiac-chart: " << e.what() << "\n";
    return kExitFault;
  }
  if (json) {
    PrintJson(sky, out);
  } else {
    PrintTable(sky, out);
  }
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
  return UsageError(err, "unknown command '" + cmd + "'");
}
