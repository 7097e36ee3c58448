// The control's design-time layout: its surface and the child controls placed on it, as
// they stand before any code runs. Twips, from the control's top left corner.
#pragma once

#include <array>
#include <cstdint>

#include "ui/child_control.h"
#include "ui/surface.h"

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
