// Sign reading, the guarded start-up computation and its exit statuses.
#include "service/sky.h"

#include <cctype>
#include <exception>

#include "analysis/analysis_text.h"
#include "analysis/names.h"
#include "control/instant.h"
#include "control/startup.h"
#include "ephemeris/shared_state.h"

namespace {
bool Same_Ignoring_Ascii_Case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    if (std::tolower(static_cast<unsigned char>(a[k])) !=
        std::tolower(static_cast<unsigned char>(b[k])))
      return false;
  }
  return true;
}
}  // namespace

int Parse_Sign(std::string_view text) {
  if (!text.empty() && text.size() <= 2 &&
      text.find_first_not_of("0123456789") == std::string_view::npos) {
    const int n = text.size() == 1 ? text[0] - '0' : (text[0] - '0') * 10 + (text[1] - '0');
    return n <= 11 ? n : -1;
  }
  for (int k = 0; k < 12; ++k) {
    if (Same_Ignoring_Ascii_Case(text, kSignNames[k]) || text == kSignCaptions[k]) return k;
  }
  return -1;
}

Outcome Read_Sign(std::string_view text, int& sign) {
  sign = Parse_Sign(text);
  if (sign >= 0) return {};
  return {Service_Status::Bad_Input, "unknown sign '" + std::string(text) +
                          "': use 0..11, aries..pisces or the Arabic sign caption"};
}

Outcome Run_Guarded(const std::function<void()>& compute) {
  try {
    compute();
  } catch (const std::exception& e) {
    return {Service_Status::Fault, e.what()};
  }
  return {};
}

Outcome Run_At_Instant(std::string_view instant,
                       const std::function<void(const CivilTime&)>& compute) {
  InstantParse parsed;
  const Outcome outcome = Run_Guarded([&] {
    parsed = Set_Time_Base(instant);
    if (parsed.status == InstantParse::Status::Ok) compute(parsed.utc);
  });
  if (!outcome.Ok()) return outcome;
  if (parsed.status == InstantParse::Status::Invalid)
    return {Service_Status::Bad_Input,
            "invalid instant '" + std::string(instant) + "': " + parsed.error};
  if (parsed.status == InstantParse::Status::CalendarGap)
    return {Service_Status::Calendar_Gap, kCalendarGapMessage};
  return {};
}

Outcome Compute_Sky(std::string_view instant, Computed_Instant& computed) {
  return Run_At_Instant(instant, [&](const CivilTime& utc) {
    computed.instant_utc = Format_Utc_Minute(utc);
    computed.julian_day = JulianDay;
    computed.julian_centuries = JulianCenturies;
    Compute_Positions();
  });
}

Outcome Compute_Analysis(std::string_view instant, int sign, Computed_Instant& computed,
                         std::string& text) {
  if (Outcome o = Compute_Sky(instant, computed); !o.Ok()) return o;
  return Run_Guarded([&] { text = Compose_Analysis_Text(sign); });
}
