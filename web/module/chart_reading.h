// What a chart shows, for assistive technology and for a chart that cannot show a sky: which
// glyphs carry the retrograde mark, which aspects join which bodies (as the chart's drawing
// recorded them from the body table, Chart_Shown), and why no sky is shown.
#pragma once

#include <string>
#include <string_view>

#include "control/activex_ctl.h"

// {"error": reason or "", "retrograde": [10 booleans], "aspects": [{"aspect": name, "bodies":
// [name, name]}], "glyphNames": [10 names], "description": text}, the names in Arabic, the
// aspects in the order the chart first drew them (the names and the text as the server-rendered
// chart gives them, control/chart_markup.h).
std::string Chart_Reading_Json(const ActiveX_Ctl& ctl, std::string_view error);
