// The zodiac wheel's geometry in twips: the chart draws with it, and the artwork tools get it
// from here (tools/artwork/geometry_mjs.cpp writes tools/artwork/geometry.mjs).
#pragma once

#include <cstdint>

inline constexpr double kWheelR = 6000;         // scale length: radii are kWheelR / a divisor
inline constexpr std::int16_t kWheelRot = 270;  // degrees added to a longitude
inline constexpr double kWheelX = 3200;         // centre
inline constexpr double kWheelY = 3900;

// Radii are kWheelR over these exact doubles: 2.9 and 2.8 as the wheel was first laid out
// with them in single precision, which the background picture's geometry follows.
inline constexpr double kInnerDivisor = 4.6;                    // tick inner end, aspect chords
inline constexpr double kTickOuterDivisor = 2.8999999523162843;  // tick outer end
inline constexpr double kGlyphDivisor = 2.799999952316284;      // glyph reference point
inline constexpr double kGlyphOffsetDivisor = 50;               // glyph shift to the upper left
