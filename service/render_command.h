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

// Render_Chart's SVG as a PNG at scale 1..4 (1: 513 x 459 pixels without the window, wider
// with it). A scale outside 1..4 gives Bad_Input; otherwise the outcomes of Render_Chart,
// and Fault when the picture cannot be made.
Outcome Render_Png(std::string_view instant, int analysis_sign, int scale, std::string& png,
                   std::ostream& messages);

// The social card for sign (0..11) at the instant: 1200 x 630 PNG, the chart beside the
// sign's daily analysis; the outcomes of Render_Png.
Outcome Render_Card(std::string_view instant, int sign, std::string& png, std::ostream& messages);

// A chart control started as Render_Chart does, written as the element's server-rendered
// fragment (Chart_Markup) into html, with the at attribute at (none when empty) and the
// bundle under base; the same outcomes as Render_Chart.
Outcome Render_Chart_Html(std::string_view instant, std::string_view at, std::string_view base,
                          std::string& html, std::ostream& messages);
// Render_Chart_Html's shadow root alone (Chart_Shadow_Root), for a tag already in a page.
Outcome Render_Shadow_Root(std::string_view instant, std::string_view base, std::string& html,
                           std::ostream& messages);

// What a picture is drawn from: the chart's SVG and, for a card, the analysis as the window
// holds it. A server compares these (cheap) before it draws the picture (not cheap).
struct Picture_Source {
  std::string svg;
  std::string analysis;
};
// The source of Render_Png's picture (messages dropped), and of Render_Card's; their outcomes.
Outcome Chart_Png_Source(std::string_view instant, int analysis_sign, Picture_Source& source);
Outcome Card_Source(std::string_view instant, int sign, Picture_Source& source);
// Draws the picture of a source: the card, or the chart at scale 1..4 (Bad_Input outside);
// Fault when it cannot be drawn. Any thread: each keeps its own fonts.
Outcome Draw_Picture(const Picture_Source& source, int scale, bool card, std::string& png);
