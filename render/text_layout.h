// Text wrapped into lines with the fonts a renderer of our SVG finds: Pango over fontconfig,
// HarfBuzz shaping and FreeType metrics, so the lines break where librsvg and a browser
// (which use the same font files) break them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct Text_Line {
  std::string text;    // UTF-8, without its line break or trailing blanks
  double width = 0;    // its advance, in the units of the size given
};

struct Wrapped_Text {
  std::vector<Text_Line> lines;
  double ascent = 0, descent = 0;  // the first font of the stack, in the units of the size
};

// Lays out text (lines separated by "\n"; "\r" ignored) in the CSS font stack
// ("'Noto Sans Arabic', Amiri, sans-serif") at size (any unit: twips, pixels), bold or not,
// right to left, wrapping words at width. Metrics are unhinted, so they scale with size.
// Thread-safe: each thread keeps its own font map, loaded once.
Wrapped_Text Wrap_Text(std::string_view text, std::string_view font_stack, double size,
                       bool bold, double width);

// The ascent and descent (above and below the baseline) of the first font of the stack at size,
// as Wrap_Text reports them.
struct Font_Extent {
  double ascent = 0, descent = 0;
};
Font_Extent Extent_Of(std::string_view font_stack, double size, bool bold);
