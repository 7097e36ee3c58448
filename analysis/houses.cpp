// Houses counted from the picked sign, and aspect scores from the angular distances between
// bodies, with the aspects and orbs of the chart's lines.
#include "analysis/houses.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "analysis/analysis_state.h"
#include "analysis/orb_table.h"
#include "analysis/sign_of.h"
#include "ephemeris/real.h"
#include "ephemeris/shared_state.h"

namespace {
// a + b as a 16-bit integer; std::overflow_error when the sum leaves -32768..32767.
std::int16_t Add16(int a, int b) {
  const int sum = a + b;
  if (sum < std::numeric_limits<std::int16_t>::min() ||
      sum > std::numeric_limits<std::int16_t>::max())
    throw std::overflow_error("16-bit integer overflow");
  return static_cast<std::int16_t>(sum);
}

// Conjunction weight by partner: the benefic Moon, Mercury, Venus and Jupiter raise the
// score, the malefic Mars, Saturn, Uranus, Neptune and Pluto lower it.
int Conjunction_Weight(int partner) {
  switch (partner) {
    case BodyIndex::Moon:
    case BodyIndex::Mercury:
    case BodyIndex::Venus:
    case BodyIndex::Jupiter:
      return 3;
    default:
      return -3;
  }
}

// Weight of the aspect that distance D (degrees, 0..360, not folded to 0..180) makes with
// the partner: conjunction by partner, sextile 1, square -2, trine 2, opposition -2; no
// aspect 0.
int Aspect_Weight(float D, int partner) {
  const Aspect* aspect = Aspect_Of(D);
  if (!aspect) return 0;
  switch (aspect->kind) {
    case kConjunction: return Conjunction_Weight(partner);
    case kSextile: return 1;
    case kSquare: return -2;
    case kOpposition: return -2;
    case kTrine: return 2;
  }
  return 0;
}
}  // namespace

void Calc_Houses() {
  for (int i = 0; i < BodyIndex::Count; ++i) {
    const int s = Sign_Of(Pln_Rec[i].Lon);
    if (s < 0) continue;
    const std::int16_t d = Add16(s, -Sel_Sign);
    Pln_Rec[i].House = d >= 0 ? d : Add16(d, 12);
  }
  Calc_Scores();
}

void Calc_Scores() {
  for (int i = 0; i < BodyIndex::Count; ++i) Pln_Score[i] = 0;
  for (int i = 0; i < BodyIndex::Count; ++i) {
    for (int j = i + 1; j < BodyIndex::Count; ++j) {
      const Real diff = Abs(Real(Pln_Rec[i].Lon) - Pln_Rec[j].Lon);
      if (diff > std::numeric_limits<float>::max()) throw FloatError();  // single overflows
      const auto D = static_cast<float>(diff.value());
      Pln_Score[i] = Add16(Pln_Score[i], Aspect_Weight(D, j));
    }
    Pln_Score[i] = Add16(Pln_Score[i], Score_Flag[i] == 0 ? 1 : -1);
  }
}
