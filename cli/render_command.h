// The chart as a visitor sees it after start-up, rendered to SVG for an instant.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "cli/sky.h"

// Starts a chart control whose clock reads instant ("now" or ISO 8601, as Parse_Instant)
// and writes its SVG (Chart_Svg) to svg. With analysis_sign 0..11 the sign label is released
// first, so the analysis window is drawn as it opens; -1 for none. Message boxes go to
// messages. A malformed instant gives kExitUsage, the 1582 calendar gap kExitCalendarGap, a
// fault (or a window that failed to open) kExitFault; svg is then left as it was.
Outcome Render_Chart(std::string_view instant, int analysis_sign, std::string& svg,
                     std::ostream& messages);

// Starts a chart control as Render_Chart does and writes it as the element's server-rendered
// fragment (Chart_Markup) to html, with the at attribute at (none when empty) and the bundle
// under base. The same outcomes as Render_Chart.
Outcome Render_Chart_Html(std::string_view instant, std::string_view at, std::string_view base,
                          std::string& html, std::ostream& messages);
// Render_Chart_Html's shadow root alone (Chart_Shadow_Root), for a tag already in a page.
Outcome Render_Shadow_Root(std::string_view instant, std::string_view base, std::string& html,
                           std::ostream& messages);
