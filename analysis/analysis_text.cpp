// The daily analysis text: the sign's caption over the five interpretation sentences.
#include "analysis/analysis_text.h"

#include <stdexcept>

#include "analysis/analysis_state.h"
#include "analysis/houses.h"
#include "analysis/interpretations.h"
#include "analysis/names.h"
#include "ephemeris/float_check.h"

namespace {
constexpr std::string_view kLineBreak = "\r\n";
constexpr std::size_t kCaptionPadding = 26;  // blanks after the caption
}  // namespace

void Pick_Sign(std::int16_t sign) {
  Probe_Step(kAnalysisStep);
  Sel_Sign = sign;
  Calc_Houses();
}

Analysis_Sentences Analyse_Planets() {
  Analysis_Sentences s;
  s[0] = Analyse_Sun();
  s[1] = Analyse_Moon();
  s[2] = Analyse_Mercury();
  s[3] = Analyse_Venus();
  s[4] = Analyse_Mars();
  return s;
}

std::string Analysis_Text(std::string_view caption, const Analysis_Sentences& sentences) {
  std::string text(kLineBreak);
  text += caption;
  text.append(kCaptionPadding, ' ');
  for (int k = 0; k < 3; ++k) text += kLineBreak;
  for (std::size_t k = 0; k < sentences.size(); ++k) {
    if (k > 0) text += kLineBreak;
    text += sentences[k];
  }
  return text;
}

std::string Compose_Analysis_Text(int sign) {
  if (sign < 0 || sign > 11) throw std::out_of_range("sign index outside 0..11");
  Pick_Sign(static_cast<std::int16_t>(sign));
  return Analysis_Text(kSignCaptions[sign], Analyse_Planets());
}
