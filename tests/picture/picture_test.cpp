// The pictures: their sizes, every sign's analysis inside its box at every scale, and Arabic
// drawn joined and in reading order (librsvg's pixels against HarfBuzz's shaping of the same
// line, drawn by cairo from the font file fontconfig names).
#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <hb-ft.h>
#include <hb.h>

#include <cmath>
#include <cstring>
#include <regex>
#include <sstream>

#include "service/render_command.h"
#include "picture/picture.h"
#include "picture/picture_parts.h"

namespace {
constexpr const char kInstant[] = "2005-04-15T22:00Z";

// Width and height from a PNG's IHDR.
std::pair<int, int> Png_Size(const std::string& png) {
  if (png.size() < 24 || png.compare(1, 3, "PNG") != 0) return {0, 0};
  const auto be = [&](std::size_t at) {
    return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
           (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
  };
  return {be(16), be(20)};
}

// Pixels of an ARGB32 or RGB24 surface as grey levels 0..255.
struct Grey {
  int width = 0, height = 0;
  std::vector<int> level;
  int At(int x, int y) const { return level[static_cast<std::size_t>(y) * width + x]; }
};
Grey Grey_Of(cairo_surface_t* s) {
  cairo_surface_flush(s);
  Grey g{cairo_image_surface_get_width(s), cairo_image_surface_get_height(s), {}};
  const unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width; ++x) {
      std::uint32_t p;
      std::memcpy(&p, data + y * stride + 4 * x, 4);
      g.level.push_back(static_cast<int>(((p >> 16) & 255) + ((p >> 8) & 255) + (p & 255)) / 3);
    }
  return g;
}

// The chart's SVG as the pictures draw it (without its background).
std::string Svg_At(int sign) {
  Picture_Source source;
  EXPECT_TRUE(Chart_Png_Source(kInstant, sign, source).Ok());
  return source.svg;
}

// The analysis box of a window SVG (twips) and its text lines: x (the right end), baseline
// and text.
struct Box {
  double x = 0, y = 0, width = 0, height = 0, font_size = 0, view_x = 0;
  struct Line {
    double x, y;
    std::string text;
  };
  std::vector<Line> lines;
};
Box Analysis_Box(const std::string& svg) {
  Box b;
  std::smatch m;
  std::regex_search(svg, m, std::regex("viewBox=\"([-0-9.]+) "));
  b.view_x = std::stod(m[1]);
  const std::size_t from = svg.find("<g class=\"TxtAnalyse\">");
  const std::string group = svg.substr(from, svg.find("</g></g>", from) - from);
  std::regex_search(group, m, std::regex(
      "<rect x=\"([-0-9.]+)\" y=\"([-0-9.]+)\" width=\"([0-9.]+)\" height=\"([0-9.]+)\""));
  b.x = std::stod(m[1]), b.y = std::stod(m[2]), b.width = std::stod(m[3]), b.height = std::stod(m[4]);
  std::regex_search(group, m, std::regex("font-size=\"([0-9.]+)\""));
  b.font_size = std::stod(m[1]);
  const std::regex line("<text x=\"([-0-9.]+)\" y=\"([-0-9.]+)\">([^<]*)</text>");
  for (std::sregex_iterator it(group.begin(), group.end(), line), end; it != end; ++it)
    b.lines.push_back({std::stod((*it)[1]), std::stod((*it)[2]), (*it)[3]});
  return b;
}

TEST(Picture, SizesOfChartWindowAndCard) {
  std::ostringstream messages;
  for (int scale = 1; scale <= 4; ++scale) {
    std::string png;
    ASSERT_TRUE(Render_Png(kInstant, -1, scale, png, messages).Ok());
    EXPECT_EQ(Png_Size(png), std::make_pair(513 * scale, 459 * scale)) << scale;
    ASSERT_TRUE(Render_Png(kInstant, 4, scale, png, messages).Ok());
    EXPECT_EQ(Png_Size(png), std::make_pair(596 * scale, 459 * scale)) << scale;
  }
  std::string png = "kept";
  for (const int scale : {0, 5, -1})
    EXPECT_EQ(Render_Png(kInstant, -1, scale, png, messages).status, Service_Status::Bad_Input)
        << scale;
  EXPECT_EQ(png, "kept");
  ASSERT_TRUE(Render_Card(kInstant, 4, png, messages).Ok());
  EXPECT_EQ(Png_Size(png), std::make_pair(kCardWidth, kCardHeight));
}

// librsvg draws the window's text (a foreignObject it would leave blank): every line's band
// has ink, and no ink touches the box's edges or its padding at any scale: no text runs out.
TEST(Picture, EverySignsAnalysisInsideItsBoxAtEveryScale) {
  for (int sign = 0; sign < 12; ++sign) {
    const std::string svg = Svg_At(sign);
    const Box box = Analysis_Box(svg);
    ASSERT_GE(box.lines.size(), 6u) << sign;  // the caption and five sentences at least
    for (int scale = 1; scale <= 4; ++scale) {
      const Surface surface = Chart_Surface(svg, scale);
      const Grey g = Grey_Of(surface.get());
      const double k = scale / 15.0;
      const int left = static_cast<int>(std::ceil((box.x - box.view_x) * k)) + 1;
      const int top = static_cast<int>(std::ceil(box.y * k)) + 1;
      const int right = static_cast<int>((box.x - box.view_x + box.width) * k) - 2;
      const int bottom = static_cast<int>((box.y + box.height) * k) - 2;
      const int pad = static_cast<int>(30 * k);  // half the padding: a glyph's ink may lean into it
      int edge_ink = 0;
      for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
          if ((y <= top + 1 || y >= bottom - 1 || x < left + pad || x > right - pad) &&
              g.At(x, y) < 128)
            ++edge_ink;
      EXPECT_EQ(edge_ink, 0) << "sign " << sign << " scale " << scale;
      for (const Box::Line& line : box.lines) {
        const int base = static_cast<int>(line.y * k);
        int ink = 0;
        for (int y = base - static_cast<int>(box.font_size * k / 2); y <= base; ++y)
          for (int x = left; x <= right; ++x) ink += g.At(x, y) < 128;
        EXPECT_GT(ink, 10 * scale) << "sign " << sign << " scale " << scale << ": " << line.text;
      }
    }
  }
}

// Every sign's card: all the words of the caption and the five sentences, each line inside the
// text column and the card, at a size that reads on a phone.
TEST(Picture, EverySignsCardHoldsItsTextInsideTheColumn) {
  for (int sign = 0; sign < 12; ++sign) {
    Card_Text text;
    std::string analysis;
    std::ostringstream messages;
    Computed_Instant computed;
    ASSERT_TRUE(Compute_Analysis(kInstant, sign, computed, analysis).Ok());
    std::istringstream in(analysis);
    for (std::string line; std::getline(in, line);) {
      if (line.find_first_not_of(" \r") == std::string::npos) continue;
      (text.caption.empty() ? text.caption : text.sentences.emplace_back()) = line;
    }
    ASSERT_EQ(text.sentences.size(), 5u) << sign;
    const Card_Layout layout = Lay_Out_Card(text);
    EXPECT_GE(layout.size, 24) << sign;
    std::string drawn, given;
    for (const Card_Line& l : layout.lines) {
      drawn += l.text + " ";
      EXPECT_GE(l.left, kCardTextLeft - 0.5) << l.text;
      EXPECT_LE(l.right, kCardTextRight + 0.5) << l.text;
      EXPECT_GE(l.top, 0) << l.text;
      EXPECT_LE(l.bottom, kCardHeight) << l.text;
    }
    given = text.caption;
    for (const std::string& s : text.sentences) given += " " + s;
    const auto words = [](const std::string& s) {
      return std::regex_replace(std::regex_replace(s, std::regex("[ \r\n]+"), " "),
                                std::regex("^ | $"), "");
    };
    EXPECT_EQ(words(drawn), words(given)) << sign;
  }
}

// Lines as HarfBuzz shapes them, drawn by cairo in black on white, each with its right end
// at right_x and its baseline at y (pixels). Joined: one buffer, right to left; unjoined: each
// letter shaped alone (isolated forms), still right to left; reversed: shaped left to right.
enum class Shaping { Joined, Unjoined, Reversed };
struct Shaped_Line {
  std::string text;
  double right_x, y;
  Shaping how;
};
Grey Reference(const std::vector<Shaped_Line>& lines, int width, int height, double size) {
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("Noto Sans Arabic"));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcChar8* file = nullptr;
  FcPatternGetString(match, FC_FILE, 0, &file);
  FT_Library ft;
  FT_Init_FreeType(&ft);
  FT_Face face;
  FT_New_Face(ft, reinterpret_cast<const char*>(file), 0, &face);
  FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(size * 64), 72, 72);
  hb_font_t* font = hb_ft_font_create_referenced(face);
  hb_ft_font_set_load_flags(font, FT_LOAD_NO_HINTING);

  std::vector<cairo_glyph_t> all;
  const auto shape = [&](std::string_view part, hb_direction_t direction) {
    hb_buffer_t* buffer = hb_buffer_create();
    hb_buffer_add_utf8(buffer, part.data(), static_cast<int>(part.size()), 0, -1);
    hb_buffer_set_direction(buffer, direction);
    hb_buffer_set_script(buffer, HB_SCRIPT_ARABIC);
    hb_buffer_set_language(buffer, hb_language_from_string("ar", -1));
    hb_shape(font, buffer, nullptr, 0);
    unsigned n = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &n);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, nullptr);
    std::vector<cairo_glyph_t> run;
    double run_pen = 0;
    for (unsigned i = 0; i < n; ++i) {
      run.push_back({info[i].codepoint, run_pen + pos[i].x_offset / 64.0, -pos[i].y_offset / 64.0});
      run_pen += pos[i].x_advance / 64.0;
    }
    hb_buffer_destroy(buffer);
    return std::make_pair(run, run_pen);
  };
  for (const auto& [text, right_x, y, how] : lines) {
    std::vector<cairo_glyph_t> glyphs;
    double pen = 0;  // from the left end
    if (how == Shaping::Unjoined) {
      // Letters in visual order: the last letter leftmost.
      std::vector<std::string> letters;
      for (std::size_t i = 0; i < text.size();) {
        std::size_t n = 1;
        while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
        letters.push_back(text.substr(i, n));
        i += n;
      }
      for (auto it = letters.rbegin(); it != letters.rend(); ++it) {
        auto [run, advance] = shape(*it, HB_DIRECTION_RTL);
        for (cairo_glyph_t g : run) glyphs.push_back({g.index, g.x + pen, g.y});
        pen += advance;
      }
    } else {
      auto [run, advance] =
          shape(text, how == Shaping::Joined ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
      glyphs = run;
      pen = advance;
    }
    for (cairo_glyph_t g : glyphs) all.push_back({g.index, g.x + right_x - pen, g.y + y});
  }

  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
  cairo_t* cr = cairo_create(surface.get());
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_font_face_t* cairo_face = cairo_ft_font_face_create_for_ft_face(face, FT_LOAD_NO_HINTING);
  cairo_set_font_face(cr, cairo_face);
  cairo_set_font_size(cr, size);
  cairo_show_glyphs(cr, all.data(), static_cast<int>(all.size()));
  cairo_destroy(cr);
  const Grey g = Grey_Of(surface.get());
  surface.reset();
  cairo_font_face_destroy(cairo_face);
  hb_font_destroy(font);
  FT_Done_Face(face);
  FT_Done_FreeType(ft);
  return g;
}

// The mean grey difference of two pictures over the rows y0..y1.
double Difference(const Grey& a, const Grey& b, int y0, int y1) {
  double sum = 0;
  int n = 0;
  for (int y = std::max(0, y0); y <= std::min(y1, a.height - 1); ++y)
    for (int x = 0; x < a.width; ++x, ++n) sum += std::abs(a.At(x, y) - b.At(x, y));
  return n ? sum / n : 0;
}

// Each line of three signs' windows as librsvg drew it, against HarfBuzz's shaping of the same
// text (the other lines drawn joined around it): close to the joined right-to-left shaping,
// far from the same letters unjoined or in left-to-right order (a line's own differences are
// at most a quarter of those, short lines' antialiasing aside).
TEST(Picture, ArabicLinesDrawnJoinedAndInReadingOrder) {
  constexpr int kScale = 2;
  for (const int sign : {0, 4, 11}) {
    const std::string svg = Svg_At(sign);
    const Box box = Analysis_Box(svg);
    Grey drawn = Grey_Of(Chart_Surface(svg, kScale).get());
    const double k = kScale / 15.0, size = box.font_size * k;
    // Only the box counts: the window's frame and the rest of the chart lie outside it.
    for (int y = 0; y < drawn.height; ++y)
      for (int x = 0; x < drawn.width; ++x)
        if (x < (box.x - box.view_x) * k + 2 || x > (box.x - box.view_x + box.width) * k - 2 ||
            y < box.y * k + 2 || y > (box.y + box.height) * k - 2)
          drawn.level[static_cast<std::size_t>(y) * drawn.width + x] = 255;
    std::vector<Shaped_Line> lines;
    for (const Box::Line& line : box.lines)
      lines.push_back({line.text, (line.x - box.view_x) * k, line.y * k, Shaping::Joined});
    for (std::size_t n = 0; n < lines.size(); ++n) {
      const int y0 = static_cast<int>(lines[n].y - size), y1 = static_cast<int>(lines[n].y + size / 2);
      const auto against = [&](Shaping how) {
        std::vector<Shaped_Line> variant = lines;
        variant[n].how = how;
        return Difference(drawn, Reference(variant, drawn.width, drawn.height, size), y0, y1);
      };
      const double joined = against(Shaping::Joined);
      const double unjoined = against(Shaping::Unjoined);
      const double reversed = against(Shaping::Reversed);
      EXPECT_LT(joined, 0.5 * unjoined) << lines[n].text << " " << joined << " / " << unjoined;
      EXPECT_LT(joined, 0.5 * reversed) << lines[n].text << " " << joined << " / " << reversed;
    }
  }
}
}  // namespace
