// The positions table and the analysis text as a terminal shows them.
#include "service/text_output.h"

#include <cstdint>
#include <cstdio>

#include "analysis/names.h"
#include "analysis/sign_of.h"
#include "ephemeris/shared_state.h"
#include "render/chart.h"

void Print_Positions_Table(const Computed_Instant& computed, std::ostream& out) {
  char line[256];
  std::snprintf(line, sizeof line, "Sky at %s  (JD %.5f)\n\n", computed.instant_utc.c_str(),
                computed.julian_day);
  out << line << "  Body        Longitude  Sign          Motion        Tooltip\n";
  for (int k = 0; k < BodyIndex::Count; ++k) {
    const Pln_Record& rec = Pln_Rec[k];
    const int sign = Sign_Of(rec.Lon);
    std::snprintf(line, sizeof line, "  %-10s %9.2f°  %-12s  %-12s  ", kBodyNames[k], rec.Lon,
                  sign >= 0 ? kSignNames[sign] : "?",
                  rec.Retro == kTrue16 ? "retrograde ℞" : "");
    out << line << Body_Tooltip(k) << "\n";
  }
}

std::string For_Terminal(const std::string& text) {
  std::string s;
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n') continue;
    s += text[k];
  }
  return s;
}
