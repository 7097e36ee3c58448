// The artwork of assets/, compiled into the program.
#pragma once

#include <string_view>

// The SVG text of the picture named name ("background", "glyph-0" .. "glyph-9", "hand"), or
// an empty view when there is none.
std::string_view Asset_Svg(std::string_view name);
