// The control's colours and fonts in CSS terms, for every renderer: the SVG writer and the
// page's state (which the element and its overlay use as given).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/child_control.h"

// "#RRGGBB" of a 0x00BBGGRR colour; the system button-face colour as light grey #F0F0F0.
std::string Css_Colour(std::uint32_t bgr);

// The font stack that stands in for a design font: Tahoma's, or the Arabic one for any other
// name. Quoted names use single quotes, so the stack fits in a double-quoted attribute.
std::string_view Font_Stack(const Font_Spec& f);

// The fonts of what the platform draws for the control rather than the control itself: the
// tooltips (the system's Tahoma) and the message boxes (Arabic text).
std::string_view Tooltip_Font_Stack();
std::string_view Message_Font_Stack();
