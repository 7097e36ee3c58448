// The control's design-time layout: its surface and the child controls placed on it, as
// they stand before any code runs. Twips, from the control's top left corner.
#pragma once

#include <array>
#include <cstdint>

#include "analysis/child_control.h"

// The control surface.
inline constexpr float kDesignWidth = 7695;   // 513 pixels
inline constexpr float kDesignHeight = 6885;  // 459 pixels
inline constexpr std::uint32_t kSurfaceBackColor = 0xFFFFFF;
// The background picture, drawn unscaled at the top left: 513 x 458 pixels.
inline constexpr const char kBackgroundPicture[] = "background";
inline constexpr float kBackgroundWidth = 7695;
inline constexpr float kBackgroundHeight = 6870;

// The surface's font, used by the printed retrograde marks.
Font_Spec Surface_Font();

// The twelve sign labels, index = sign number (0 Aries .. 11 Pisces).
std::array<Child_Control, 12> Design_LabAnalyse();
// The date label; its design caption is replaced at start-up.
Child_Control Design_LabDate();
// The pointing-hand picture; nothing uses it, and it is not shown.
Child_Control Design_ImgIcon();
// The ten body glyph images in BodyIndex order, at their design places.
std::array<Child_Control, 10> Design_ImgPln();
// The picture-less image covering the whole surface, carrying the surface's tooltip.
Child_Control Design_Img();
