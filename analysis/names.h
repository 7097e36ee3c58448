// The names of the bodies and the signs, in one place: the English names the command line
// shows, the Arabic captions of the sign labels, and the Arabic phrases of the position texts.
// Bodies in BodyIndex order, signs by sign number (0 Aries .. 11 Pisces).
#pragma once

#include <iterator>

// English body names, as the text table and the JSON "name" show them.
inline constexpr const char* kBodyNames[] = {"Sun",     "Moon",   "Mercury", "Venus",   "Mars",
                                             "Jupiter", "Saturn", "Uranus",  "Neptune", "Pluto"};
static_assert(std::size(kBodyNames) == 10);

// Body phrases ("... in"), each ending in one blank: the start of a glyph's tooltip.
inline constexpr const char* kBodyPhrases[] = {
    "الشمس في ",  "القمر في ", "عطارد في ",   "الزهرة في ", "المريخ في ",
    "المشتري في ", "زحل في ",   "أورانوس في ", "نبتون في ",  "بلوطون في ",
};
static_assert(std::size(kBodyPhrases) == 10);

// English sign names.
inline constexpr const char* kSignNames[] = {"Aries", "Taurus",      "Gemini",    "Cancer",
                                             "Leo",   "Virgo",       "Libra",     "Scorpio",
                                             "Sagittarius", "Capricorn", "Aquarius", "Pisces"};
static_assert(std::size(kSignNames) == 12);

// Captions of the twelve sign labels; the index of the label is the sign the analysis
// receives.
inline constexpr const char* kSignCaptions[] = {
    "برج الحمل",  "برج الثور",  "برج الجوزاء", "برج السرطان", "برج الأسد",  "برج السنبلة",
    "برج الميزان", "برج العقرب", "برج القوس",   "برج الجدي",   "برج الدالي", "برج الحوت",
};
static_assert(std::size(kSignCaptions) == 12);

// Sign phrases ("of the sign of ..."), each ending in one blank: the end of a glyph's tooltip.
inline constexpr const char* kSignPhrases[] = {
    "من برج الحمل ",  "من برج الثور ",  "من برج الجوزاء ", "من برج السرطان ",
    "من برج الأسد ",  "من برج السنبلة ", "من برج الميزان ", "من برج العقرب ",
    "من برج القوس ",  "من برج الجدي ",  "من برج الدالي ",  "من برج الحوت ",
};
static_assert(std::size(kSignPhrases) == 12);
