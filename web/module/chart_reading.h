// What a chart shows, read back from its drawing for assistive technology and for a chart that
// cannot show a sky: which glyphs carry the retrograde mark, which aspect lines join which
// bodies, and why no sky is shown.
#pragma once

#include <string>
#include <string_view>

#include "control/activex_ctl.h"

// {"error": reason or "", "retrograde": [10 booleans], "aspects": [{"aspect": name, "bodies":
// [name, name]}]}, the names in Arabic. A glyph is retrograde when a "(ع)" mark is printed at
// its mark position; an aspect line is one in an aspect colour whose two ends are the inner
// ends of two bodies' ticks (each pair listed once, though a redraw draws it twice).
std::string Chart_Reading_Json(const ActiveX_Ctl& ctl, std::string_view error);
