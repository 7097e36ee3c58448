// Position texts: body phrase, whole degree within the sign and sign phrase.
#include "analysis/position_text.h"

#include <iterator>

#include "analysis/names.h"
#include "analysis/sign_of.h"
#include "ephemeris/degrees.h"

std::string Pln_Phrase(std::int16_t index) {
  if (index < 0 || index >= static_cast<int>(std::size(kBodyPhrases))) return {};
  return kBodyPhrases[index];
}

std::string Sign_PosText(float lon) {
  const double x = lon;
  const int sign = Sign_Of(x);
  if (sign < 0) return {};
  return Sign_DegText(x) + kSignPhrases[sign];
}
