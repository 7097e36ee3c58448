// The control's drawing layer: a display list above the background picture, with the pen
// state of a drawing surface. Lines and printed text stay until the next Cls; hosts render
// the list in order. Coordinates are twips from the control's top left corner, y down.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "ui/child_control.h"

// Pen styles.
inline constexpr int kSolid = 0;
inline constexpr int kDash = 1;
inline constexpr int kDot = 2;

struct Drawn_Line {
  float X1, Y1, X2, Y2;
  std::uint32_t Color;  // 0x00BBGGRR
  int Width;            // pixels
  int Style;            // kSolid, kDash or kDot
};

// Text printed with its top left corner at (X, Y), in the layer's font.
struct Printed_Text {
  float X, Y;
  std::string Text;
  std::uint32_t Color;
};

using Drawing_Item = std::variant<Drawn_Line, Printed_Text>;

class Drawing_Layer {
 public:
  // Pen state, as a drawing surface has it.
  std::uint32_t ForeColor = 0;
  int DrawWidth = 1;
  int DrawStyle = kSolid;
  float CurrentX = 0, CurrentY = 0;
  Font_Spec Font;

  // Erases everything drawn or printed.
  void Cls() { items_.clear(); }

  // A line from (x1, y1) to (x2, y2) with the current colour, width and style; the pen then
  // stands at its end.
  void Line(float x1, float y1, float x2, float y2) {
    items_.push_back(Drawn_Line{x1, y1, x2, y2, ForeColor, DrawWidth, DrawStyle});
    CurrentX = x2;
    CurrentY = y2;
  }

  // Text at (CurrentX, CurrentY) in the current colour.
  void Print(std::string_view text) {
    items_.push_back(Printed_Text{CurrentX, CurrentY, std::string(text), ForeColor});
  }

  const std::vector<Drawing_Item>& Items() const { return items_; }

 private:
  std::vector<Drawing_Item> items_;
};
