// The control's surface as designed: its size, colour and background picture. Twips.
#pragma once

#include <cstdint>

inline constexpr float kDesignWidth = 7695;   // 513 pixels
inline constexpr float kDesignHeight = 6885;  // 459 pixels
inline constexpr std::uint32_t kSurfaceBackColor = 0xFFFFFF;
// The background picture, drawn unscaled at the top left: 513 x 458 pixels.
inline constexpr const char kBackgroundPicture[] = "background";
inline constexpr float kBackgroundWidth = 7695;
inline constexpr float kBackgroundHeight = 6870;
// The framed rows of the background's column, one behind each sign label: a row starts at the
// column's left edge, 30 twips above its label's top.
inline constexpr float kSignRowLeft = 6090;
inline constexpr float kSignRowAbove = 30;
inline constexpr float kSignRowWidth = 1380;
inline constexpr float kSignRowHeight = 270;
