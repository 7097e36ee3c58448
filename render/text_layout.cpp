// Line breaking by Pango (UAX #14 break opportunities, HarfBuzz advances), as librsvg does it
// for SVG text, with hinting of metrics off as librsvg sets it.
#include "render/text_layout.h"

#include <pango/pangocairo.h>

#include <memory>

namespace {
// Pango reads CSS-like family lists without quotes: "Noto Sans Arabic, Amiri, sans-serif".
std::string Pango_Families(std::string_view stack) {
  std::string out;
  for (const char c : stack)
    if (c != '\'' && c != '"') out += c;
  return out;
}

struct Context_Deleter {
  void operator()(PangoContext* c) const { g_object_unref(c); }
};

// This thread's context on its default cairo font map (fontconfig read once per thread).
PangoContext* Thread_Context() {
  thread_local std::unique_ptr<PangoContext, Context_Deleter> context = [] {
    PangoContext* c = pango_font_map_create_context(pango_cairo_font_map_get_default());
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(c, options);
    cairo_font_options_destroy(options);
    pango_cairo_context_set_resolution(c, 72);
    pango_context_set_base_dir(c, PANGO_DIRECTION_RTL);
    pango_context_set_language(c, pango_language_from_string("ar"));
    return std::unique_ptr<PangoContext, Context_Deleter>(c);
  }();
  return context.get();
}

bool Is_Blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
}  // namespace

Wrapped_Text Wrap_Text(std::string_view text, std::string_view font_stack, double size,
                       bool bold, double width) {
  // Pango works in 1/1024 units of an int: lay out at a size of about 100 so that twips and
  // pixels alike keep their precision, and scale the results back.
  const double k = 100 / size;
  std::string clean;
  clean.reserve(text.size());
  for (const char c : text)
    if (c != '\r') clean += c;

  PangoContext* context = Thread_Context();
  PangoLayout* layout = pango_layout_new(context);
  PangoFontDescription* font = pango_font_description_from_string("sans");
  pango_font_description_set_family(font, Pango_Families(font_stack).c_str());
  pango_font_description_set_absolute_size(font, 100 * PANGO_SCALE);
  pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_layout_set_font_description(layout, font);
  pango_layout_set_auto_dir(layout, FALSE);
  pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_width(layout, static_cast<int>(width * k * PANGO_SCALE));
  pango_layout_set_text(layout, clean.data(), static_cast<int>(clean.size()));

  Wrapped_Text out;
  PangoFontMetrics* metrics =
      pango_context_get_metrics(context, font, pango_language_from_string("ar"));
  out.ascent = pango_font_metrics_get_ascent(metrics) / (k * PANGO_SCALE);
  out.descent = pango_font_metrics_get_descent(metrics) / (k * PANGO_SCALE);
  pango_font_metrics_unref(metrics);

  for (GSList* l = pango_layout_get_lines_readonly(layout); l; l = l->next) {
    const auto* line = static_cast<PangoLayoutLine*>(l->data);
    std::string_view part(clean.data() + line->start_index, static_cast<std::size_t>(line->length));
    while (!part.empty() && Is_Blank(part.back())) part.remove_suffix(1);
    PangoRectangle logical;
    pango_layout_line_get_extents(const_cast<PangoLayoutLine*>(line), nullptr, &logical);
    out.lines.push_back({std::string(part), logical.width / (k * PANGO_SCALE)});
  }
  // A final line break opens no line of its own in a text box that wraps (CSS pre-wrap).
  if (out.lines.size() > 1 && out.lines.back().text.empty() && !clean.empty() &&
      clean.back() == '\n')
    out.lines.pop_back();
  g_object_unref(layout);
  pango_font_description_free(font);
  return out;
}

Font_Extent Extent_Of(std::string_view font_stack, double size, bool bold) {
  const Wrapped_Text none = Wrap_Text("", font_stack, size, bold, size);
  return {none.ascent, none.descent};
}
