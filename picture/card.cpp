// The social card: the chart on the left, the sign's caption and the analysis's sentences on
// the right, laid out by Pango (HarfBuzz shaping, right to left) straight onto cairo.
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "picture/picture.h"
#include "picture/picture_parts.h"

namespace {
// Pixels of the 1200 x 630 card. The chart keeps its 513 x 459 proportions.
constexpr double kMargin = 32;
constexpr double kChartWidth = 540, kChartHeight = kChartWidth * 459 / 513;
constexpr double kTextLeft = kCardTextLeft, kTextRight = kCardTextRight;
static_assert(kTextLeft > kMargin + kChartWidth && kTextRight == kCardWidth - kMargin);
// Sentence sizes tried, largest first: 24 px still reads at a phone's 360 px preview width
// (about 7 px there, the size of a preview's own caption).
constexpr double kLargest = 36, kSmallest = 24;
constexpr double kLineHeight = 1.3, kSentenceGap = 0.12, kCaptionScale = 1.65;

constexpr const char kBodyFont[] = "Noto Sans Arabic";
constexpr const char kCaptionFont[] = "Amiri";

struct Rgb {
  double r, g, b;
};
constexpr Rgb kBackground{0x14 / 255.0, 0x1B / 255.0, 0x3D / 255.0};
constexpr Rgb kGold{0xE8 / 255.0, 0xC8 / 255.0, 0x72 / 255.0};
constexpr Rgb kText{0xF4 / 255.0, 0xF1 / 255.0, 0xE8 / 255.0};

struct Layout_Deleter {
  void operator()(PangoLayout* l) const { g_object_unref(l); }
};
using Layout = std::unique_ptr<PangoLayout, Layout_Deleter>;

// This thread's Pango context for the card: unhinted metrics, so the layout is the same on
// any surface.
PangoContext* Card_Context() {
  thread_local PangoContext* context = [] {
    PangoContext* c = pango_font_map_create_context(pango_cairo_font_map_get_default());
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(c, options);
    cairo_font_options_destroy(options);
    pango_cairo_context_set_resolution(c, 72);
    pango_context_set_base_dir(c, PANGO_DIRECTION_RTL);
    pango_context_set_language(c, pango_language_from_string("ar"));
    return c;
  }();
  return context;
}

// One block of text, right-aligned in the text column. head_bytes of it (the body and its
// state, "الشمس سعيدة") in gold and bold.
Layout Block(const std::string& text, const char* family, double size, bool bold,
             std::size_t head_bytes, const Rgb& colour) {
  Layout layout(pango_layout_new(Card_Context()));
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, family);
  pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
  pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_layout_set_font_description(layout.get(), font);
  pango_layout_set_auto_dir(layout.get(), FALSE);
  pango_layout_set_alignment(layout.get(), PANGO_ALIGN_RIGHT);
  pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
  pango_layout_set_width(layout.get(), static_cast<int>((kTextRight - kTextLeft) * PANGO_SCALE));
  // Lines kLineHeight ems apart: Pango's spacing factor multiplies the font's own height
  // (ascent and descent, about 1.6 ems for the Arabic fonts).
  PangoFontMetrics* metrics = pango_context_get_metrics(Card_Context(), font, nullptr);
  const int natural = pango_font_metrics_get_height(metrics);
  pango_font_metrics_unref(metrics);
  if (natural > 0)
    pango_layout_set_line_spacing(layout.get(),
                                  static_cast<float>(kLineHeight * size * PANGO_SCALE / natural));
  pango_font_description_free(font);
  pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
  PangoAttrList* attributes = pango_attr_list_new();
  const auto add = [&](PangoAttribute* a, std::size_t from, std::size_t to) {
    a->start_index = static_cast<guint>(from), a->end_index = static_cast<guint>(to);
    pango_attr_list_insert(attributes, a);
  };
  const auto channel = [](double c) { return static_cast<guint16>(c * 65535); };
  add(pango_attr_foreground_new(channel(colour.r), channel(colour.g), channel(colour.b)), 0,
      text.size());
  if (head_bytes > 0) {
    add(pango_attr_foreground_new(channel(kGold.r), channel(kGold.g), channel(kGold.b)), 0,
        head_bytes);
    add(pango_attr_weight_new(PANGO_WEIGHT_BOLD), 0, head_bytes);
  }
  pango_layout_set_attributes(layout.get(), attributes);
  pango_attr_list_unref(attributes);
  return layout;
}

struct Placed {
  Layout layout;
  double y;
};

// Blanks at either end dropped.
std::string Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\r' || s.front() == '\n')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\r' || s.back() == '\n')) s.remove_suffix(1);
  return std::string(s);
}

// The blocks at sentence size size, from y = 0; their height into height.
std::vector<Placed> Place_At(const Card_Text& text, double size, double& height) {
  std::vector<Placed> placed;
  double y = 0;
  int w = 0, h = 0;
  placed.push_back({Block(Trimmed(text.caption), kCaptionFont, size * kCaptionScale, true, 0, kGold), y});
  pango_layout_get_pixel_size(placed.back().layout.get(), &w, &h);
  y += h + size * 0.6;
  for (const std::string& s : text.sentences) {
    const std::string sentence = Trimmed(s);
    const std::size_t colon = sentence.find(" :");
    placed.push_back({Block(sentence, kBodyFont, size, false,
                            colon == std::string::npos ? 0 : colon, kText), y});
    pango_layout_get_pixel_size(placed.back().layout.get(), &w, &h);
    y += h + size * kSentenceGap;
  }
  height = y - size * kSentenceGap;
  return placed;
}

// The caption and the sentences at the largest whole size whose blocks fit the card's height
// (kSmallest at least), centred vertically; size is set to the sentences' size. The height
// grows about as the square of the size (lines get both longer and more): the first guess
// after the largest size is that, then a pixel at a time.
std::vector<Placed> Place(const Card_Text& text, double& size) {
  constexpr double kRoom = kCardHeight - 2 * kMargin;
  double height = 0;
  size = kLargest;
  std::vector<Placed> placed = Place_At(text, size, height);
  if (height > kRoom) {
    size = std::max(kSmallest, std::min(size - 1, std::floor(size * std::sqrt(kRoom / height))));
    placed = Place_At(text, size, height);
    // The guess may be a pixel or two off either way.
    while (height > kRoom && size > kSmallest) placed = Place_At(text, --size, height);
    while (size < kLargest) {
      double larger_height = 0;
      std::vector<Placed> larger = Place_At(text, size + 1, larger_height);
      if (larger_height > kRoom) break;
      placed = std::move(larger), height = larger_height, size += 1;
    }
  }
  const double top = std::max(kMargin, (kCardHeight - height) / 2);
  for (Placed& p : placed) p.y += top;
  return placed;
}
}  // namespace

Card_Layout Lay_Out_Card(const Card_Text& text) {
  Card_Layout out;
  for (const Placed& p : Place(text, out.size)) {
    const char* bytes = pango_layout_get_text(p.layout.get());
    PangoLayoutIter* it = pango_layout_get_iter(p.layout.get());
    do {
      const PangoLayoutLine* line = pango_layout_iter_get_line_readonly(it);
      PangoRectangle ink;
      pango_layout_iter_get_line_extents(it, &ink, nullptr);
      const double k = 1.0 / PANGO_SCALE;
      out.lines.push_back({Trimmed(std::string_view(bytes + line->start_index,
                                                    static_cast<std::size_t>(line->length))),
                           kTextLeft + ink.x * k, p.y + ink.y * k,
                           kTextLeft + (ink.x + ink.width) * k, p.y + (ink.y + ink.height) * k});
    } while (pango_layout_iter_next_line(it));
    pango_layout_iter_free(it);
  }
  return out;
}

std::string Card_Png(std::string_view chart_svg, const Card_Text& text) {
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, kCardWidth, kCardHeight));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    throw Picture_Error("no memory for the card");
  cairo_t* cr = cairo_create(surface.get());
  cairo_set_source_rgb(cr, kBackground.r, kBackground.g, kBackground.b);
  cairo_paint(cr);
  try {
    Draw_Chart(cr, chart_svg, kMargin, (kCardHeight - kChartHeight) / 2, kChartWidth, kChartHeight);
  } catch (...) {
    cairo_destroy(cr);
    throw;
  }
  // A gold rule between the chart and the text.
  cairo_set_source_rgb(cr, kGold.r, kGold.g, kGold.b);
  cairo_set_line_width(cr, 2);
  cairo_move_to(cr, kTextLeft - 18, kMargin + 40);
  cairo_line_to(cr, kTextLeft - 18, kCardHeight - kMargin - 40);
  cairo_stroke(cr);

  double size = 0;
  for (const Placed& p : Place(text, size)) {
    cairo_move_to(cr, kTextLeft, p.y);
    pango_cairo_update_layout(cr, p.layout.get());
    pango_cairo_show_layout(cr, p.layout.get());
  }
  cairo_destroy(cr);
  return Surface_Png(surface.get());
}
