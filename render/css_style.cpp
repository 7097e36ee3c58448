// The control's colours and fonts in CSS terms.
#include "render/css_style.h"

namespace {
constexpr std::string_view kTahomaStack = "Tahoma, 'Noto Sans Arabic', 'DejaVu Sans', sans-serif";
constexpr std::string_view kArabicStack =
    "'Noto Sans Arabic', 'Noto Naskh Arabic', Amiri, 'DejaVu Sans', sans-serif";
}  // namespace

std::string Css_Colour(std::uint32_t bgr) {
  if (bgr == kButtonFaceColor) return "#F0F0F0";
  static constexpr char kHex[] = "0123456789ABCDEF";
  const std::uint32_t rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
  std::string out = "#";
  for (int shift = 20; shift >= 0; shift -= 4) out += kHex[(rgb >> shift) & 0xF];
  return out;
}

std::string_view Font_Stack(const Font_Spec& f) {
  return f.Name == "Tahoma" ? kTahomaStack : kArabicStack;
}

std::string_view Tooltip_Font_Stack() { return kTahomaStack; }

std::string_view Message_Font_Stack() { return kArabicStack; }
