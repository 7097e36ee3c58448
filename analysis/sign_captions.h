// Captions of the twelve sign labels, indexed by sign number (0 Aries .. 11 Pisces); the
// index of the label is the sign the analysis receives.
#pragma once

inline constexpr const char* kSignCaptions[12] = {
    "برج الحمل",  "برج الثور",  "برج الجوزاء", "برج السرطان", "برج الأسد",  "برج السنبلة",
    "برج الميزان", "برج العقرب", "برج القوس",   "برج الجدي",   "برج الدالي", "برج الحوت",
};
