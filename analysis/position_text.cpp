// Position texts: body phrase, whole degree within the sign and sign phrase.
#include "analysis/position_text.h"

#include <iterator>

#include "analysis/sign_of.h"
#include "ephemeris/degrees.h"

namespace {
// Body phrases in BodyIndex order.
constexpr const char* kBodyPhrases[] = {
    "الشمس في ",
    "القمر في ",
    "عطارد في ",
    "الزهرة في ",
    "المريخ في ",
    "المشتري في ",
    "زحل في ",
    "أورانوس في ",
    "نبتون في ",
    "بلوطون في ",
};
static_assert(std::size(kBodyPhrases) == 10);

// Sign phrases ("of the sign of ..."), 0 Aries .. 11 Pisces.
constexpr const char* kSignPhrases[] = {
    "من برج الحمل ",
    "من برج الثور ",
    "من برج الجوزاء ",
    "من برج السرطان ",
    "من برج الأسد ",
    "من برج السنبلة ",
    "من برج الميزان ",
    "من برج العقرب ",
    "من برج القوس ",
    "من برج الجدي ",
    "من برج الدالي ",
    "من برج الحوت ",
};
static_assert(std::size(kSignPhrases) == 12);
}  // namespace

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
