// The design-time layout of the chart control.
#include "control/layout.h"

#include <iterator>
#include <string>

#include "analysis/names.h"

namespace {
constexpr std::uint32_t kDateColor = 0xC0C000;  // red 0, green 192, blue 192
constexpr int kArabicCharset = 178;

struct Box {
  float left, top, width, height;
};

// Sign label boxes, 0 Aries .. 11 Pisces.
constexpr Box kSignLabelBoxes[] = {
    {6450, 1530, 750, 210}, {6645, 1875, 570, 210}, {6435, 2250, 750, 210},
    {6255, 2565, 960, 210}, {6465, 2895, 720, 210}, {6330, 3240, 870, 210},
    {6405, 3570, 780, 210}, {6390, 3870, 780, 210}, {6405, 4275, 780, 210},
    {6420, 4635, 750, 210}, {6420, 4980, 750, 210}, {6435, 5310, 720, 210},
};
static_assert(std::size(kSignLabelBoxes) == 12);

// Glyph positions before the first drawing, in BodyIndex order.
constexpr struct {
  float left, top;
} kGlyphDesignPlaces[] = {
    {5160, 3360}, {1020, 1380}, {1020, 1800}, {1020, 2220}, {1020, 2640},
    {1020, 3060}, {960, 3420},  {960, 3840},  {960, 4260},  {900, 4680},
};
static_assert(std::size(kGlyphDesignPlaces) == 10);

Child_Control Placed(const char* name, int index, Control_Kind kind, Box box) {
  Child_Control c;
  c.Name = name;
  c.Index = index;
  c.Kind = kind;
  c.Left = box.left, c.Top = box.top, c.Width = box.width, c.Height = box.height;
  return c;
}
}  // namespace

Font_Spec Surface_Font() { return {"Arabic Transparent", 12, 700, kArabicCharset}; }

std::array<Child_Control, 12> Design_LabAnalyse() {
  std::array<Child_Control, 12> labels;
  for (int k = 0; k < 12; ++k) {
    Child_Control& c = labels[k] = Placed("LabAnalyse", k, Control_Kind::Label, kSignLabelBoxes[k]);
    c.Caption = kSignCaptions[k];
    c.ToolTipText = "أنقر هنا لتحصل على توقعاتك المنتظرة";
    c.Font = {"Tahoma", 9, 400, kArabicCharset};
    c.ForeColor = kButtonFaceColor;
    c.Transparent = true;
    c.Alignment = Text_Align::Center;
    c.AutoSize = true;
    c.Pointer = Mouse_Pointer::Hand;
  }
  return labels;
}

Child_Control Design_LabDate() {
  Child_Control c = Placed("LabDate", -1, Control_Kind::Label, {5265, 855, 570, 225});
  c.Caption = "Label1";
  c.Font = {"Arabic Transparent", 9.75, 700, kArabicCharset};
  c.ForeColor = kDateColor;
  c.Transparent = true;
  c.AutoSize = true;
  return c;
}

Child_Control Design_ImgIcon() {
  Child_Control c = Placed("ImgIcon", -1, Control_Kind::Image, {3690, 2250, 480, 480});
  c.Picture = "hand";
  c.Visible = false;
  return c;
}

std::array<Child_Control, 10> Design_ImgPln() {
  std::array<Child_Control, 10> glyphs;
  for (int k = 0; k < 10; ++k) {
    const auto place = kGlyphDesignPlaces[k];
    glyphs[k] = Placed("ImgPln", k, Control_Kind::Image, {place.left, place.top, 300, 300});
    glyphs[k].Picture = "glyph-" + std::to_string(k);
  }
  return glyphs;
}

Child_Control Design_Img() {
  Child_Control c = Placed("Img", -1, Control_Kind::Image, {0, 0, 7710, 6870});
  c.ToolTipText = "مرّر الفأرة فوق الكواكب لتحصل على طولها بالدرج";
  return c;
}
