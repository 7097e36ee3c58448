// What a chart shows, read back from its drawing for assistive technology and for a chart that
// cannot show a sky: which glyphs carry the retrograde mark, which aspect lines join which
// bodies, and why no sky is shown.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "control/activex_ctl.h"

struct Chart_Reading {
  struct Aspect_Line {
    std::string aspect;                // its Arabic name
    std::array<std::string, 2> bodies;  // the bodies' Arabic names, in drawing order
  };
  std::array<bool, 10> retrograde{};
  std::vector<Aspect_Line> aspects;  // each pair once, though a redraw draws it twice
  // Each glyph's accessible name: its tooltip, with the retrograde word when marked.
  std::array<std::string, 10> glyph_names;
  // The aspect lines drawn, as one Arabic sentence ("no aspect lines drawn" when none).
  std::string description;
};

// A glyph is retrograde when a "(ع)" mark is printed at its mark position; an aspect line is
// one in an aspect colour whose two ends are the inner ends of two bodies' ticks.
Chart_Reading Read_Chart(const ActiveX_Ctl& ctl);

// {"error": reason or "", "retrograde": [10 booleans], "aspects": [{"aspect": name, "bodies":
// [name, name]}], "glyphNames": [10 names], "description": text}, the names in Arabic.
std::string Chart_Reading_Json(const ActiveX_Ctl& ctl, std::string_view error);
