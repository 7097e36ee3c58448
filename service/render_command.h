// The chart as a visitor sees it after start-up, rendered to SVG for an instant.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "service/sky.h"

// Starts a chart control whose clock reads instant ("now" or ISO 8601, as Parse_Instant)
// and writes its SVG (Chart_Svg) to svg. With analysis_sign 0..11 the sign label is released
// first, so the analysis window is drawn as it opens; -1 for none. Message boxes go to
// messages. A malformed instant gives Bad_Input, the 1582 calendar gap Calendar_Gap, a fault
// (or a window that failed to open) Fault; svg is then left as it was.
Outcome Render_Chart(std::string_view instant, int analysis_sign, std::string& svg,
                     std::ostream& messages);
