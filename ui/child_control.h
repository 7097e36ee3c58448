// The state of one child control of the chart or of the analysis window, as hosts render it:
// the control keeps these itself, and a host only draws them and delivers their events.
// Positions and sizes are twips (15 to a CSS pixel), relative to the parent's top left corner.
#pragma once

#include <cstdint>
#include <string>

enum class Control_Kind : std::uint8_t { Label, Image, Text_Box, Button, Picture_Box };

// A font as the design gives it; hosts map the name onto fonts they have.
struct Font_Spec {
  std::string Name;
  double Size = 8.25;  // points
  int Weight = 400;    // 400 normal, 700 bold
  int Charset = 0;     // 178 Arabic, 2 symbol
};

enum class Text_Align : std::uint8_t { Left, Right, Center };

enum class Mouse_Pointer : std::uint8_t { Default, Hand };  // Hand: the custom pointing hand

// Colours are 0x00BBGGRR; 0x8000000F is the system's button-face colour.
inline constexpr std::uint32_t kButtonFaceColor = 0x8000000F;

struct Child_Control {
  std::string Name;
  int Index = -1;  // element index in a control array, -1 for a single control
  Control_Kind Kind = Control_Kind::Label;
  float Left = 0, Top = 0, Width = 0, Height = 0;
  std::string Caption;  // label or button caption, the text of a text box
  std::string ToolTipText;
  Font_Spec Font;
  std::uint32_t ForeColor = 0;
  std::uint32_t BackColor = 0xFFFFFF;
  bool Transparent = false;  // background style transparent (labels)
  Text_Align Alignment = Text_Align::Left;
  bool AutoSize = false;   // a label that sizes itself to its caption
  bool Multi_Line = false;
  bool Vertical_Scroll = false;
  int Tab_Index = -1;      // -1: not in the tab order
  Mouse_Pointer Pointer = Mouse_Pointer::Default;
  bool Visible = true;
  std::string Picture;  // artwork name of an image ("glyph-0", "hand"), empty for none
};
