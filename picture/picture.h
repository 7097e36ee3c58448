// Pictures of the chart for programs that show no SVG: PNG drawn by librsvg (text shaped by
// Pango and HarfBuzz with the fonts fontconfig finds), and the social card. Each thread keeps
// its own fonts, loaded on its first picture. Failures raise Picture_Error.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class Picture_Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr int kMinScale = 1, kMaxScale = 4;

// The PNG of the chart: chart_svg is the control's SVG for pictures (Chart_Svg(...,
// Svg_Use::For_Picture)), drawn over its background at scale (kMinScale..kMaxScale) times
// its width and height in pixels (513 x 459 at 1).
std::string Chart_Png(std::string_view chart_svg, int scale);

// What a card shows beside the chart: the sign's caption and the analysis's sentences.
struct Card_Text {
  std::string caption;                 // "برج الأسد"
  std::vector<std::string> sentences;  // "الشمس سعيدة : ..." (up to five)
};

inline constexpr int kCardWidth = 1200, kCardHeight = 630;

// The card (kCardWidth x kCardHeight, the size link previews use) as PNG: chart_svg (for
// pictures, as for Chart_Png) drawn on
// the left, the text right to left on the right at the largest size that fits, down to a
// size still legible at a phone's preview width.
std::string Card_Png(std::string_view chart_svg, const Card_Text& text);

// The card's text as laid out, for tests: the sentences' size in pixels and every line drawn,
// top to bottom, with its ink's bounds on the card.
struct Card_Line {
  std::string text;
  double left, top, right, bottom;  // pixels
};
struct Card_Layout {
  double size = 0;
  std::vector<Card_Line> lines;
};
Card_Layout Lay_Out_Card(const Card_Text& text);

// The card's text column, pixels from the left.
inline constexpr double kCardTextLeft = 608, kCardTextRight = 1168;
