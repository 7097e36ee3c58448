// SVG rendering of the chart control's state: nothing here decides what is shown, only how.
#include "render/chart_svg.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <string_view>
#include <vector>

#include "render/assets.h"
#include "render/css_style.h"
#include "render/markup_escape.h"
#include "render/text_layout.h"
#include "ui/frm_analyse.h"
#include "ui/surface.h"

namespace {
constexpr float kTwipsPerPixel = 15;
constexpr float kTwipsPerPoint = 20;

class Svg_Writer {
 public:
  explicit Svg_Writer(std::size_t reserve) { out_.reserve(reserve); }

  Svg_Writer& operator<<(std::string_view s) {
    out_ += s;
    return *this;
  }
  Svg_Writer& operator<<(char c) {
    out_ += c;
    return *this;
  }
  // Shortest text that reads back to the same float.
  Svg_Writer& Num(double x) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, static_cast<float>(x));
    out_.append(buf, res.ptr);
    return *this;
  }
  // Text content or attribute value, escaped as all the chart's markup is.
  Svg_Writer& Escaped(std::string_view s) {
    Append_Escaped(out_, s);
    return *this;
  }
  Svg_Writer& Color(std::uint32_t bgr) { return *this << Css_Colour(bgr); }
  Svg_Writer& Attr(std::string_view name, double value) {
    *this << ' ' << name << "=\"";
    return Num(value) << '"';
  }
  Svg_Writer& Font(const Font_Spec& f) {
    *this << " font-family=\"" << Font_Stack(f) << "\"";
    Attr("font-size", f.Size * kTwipsPerPoint);
    if (f.Weight >= 600) *this << " font-weight=\"bold\"";
    return *this;
  }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

// "data:image/svg+xml;base64,..." of a picture, made once per picture.
std::string_view Data_Uri(std::string_view name) {
  struct Entry {
    std::string name, uri;
  };
  static thread_local std::vector<Entry> cache;
  for (const Entry& e : cache)
    if (e.name == name) return e.uri;
  static constexpr char kB64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  const std::string_view svg = Asset_Svg(name);
  std::string uri = "data:image/svg+xml;base64,";
  uri.reserve(uri.size() + (svg.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < svg.size(); i += 3) {
    const std::size_t n = std::min<std::size_t>(3, svg.size() - i);
    std::uint32_t v = static_cast<unsigned char>(svg[i]) << 16;
    if (n > 1) v |= static_cast<unsigned char>(svg[i + 1]) << 8;
    if (n > 2) v |= static_cast<unsigned char>(svg[i + 2]);
    uri += kB64[(v >> 18) & 63];
    uri += kB64[(v >> 12) & 63];
    uri += n > 1 ? kB64[(v >> 6) & 63] : '=';
    uri += n > 2 ? kB64[v & 63] : '=';
  }
  cache.push_back({std::string(name), std::move(uri)});
  return cache.back().uri;
}

bool Has_Arabic(std::string_view s) {
  for (const char c : s) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0xD8 && b <= 0xDB) return true;  // lead bytes of U+0600..U+06FF
  }
  return false;
}

void Image(Svg_Writer& w, std::string_view picture, double x, double y, double width,
           double height) {
  w << "<image";
  w.Attr("x", x).Attr("y", y).Attr("width", width).Attr("height", height);
  w << " preserveAspectRatio=\"none\" href=\"" << Data_Uri(picture) << "\"/>";
}

void Drawing_Layer_Svg(Svg_Writer& w, const Drawing_Layer& layer, Svg_Use use) {
  w << "<g id=\"drawing-layer\" stroke-linecap=\"round\">";
  for (const Drawing_Item& item : layer.Items()) {
    if (const auto* l = std::get_if<Drawn_Line>(&item)) {
      w << "<line";
      w.Attr("x1", l->X1).Attr("y1", l->Y1).Attr("x2", l->X2).Attr("y2", l->Y2);
      w << " stroke=\"";
      w.Color(l->Color) << '"';
      w.Attr("stroke-width", l->Width * kTwipsPerPixel);
      if (l->Style == kDash) w << " stroke-dasharray=\"270 90\" stroke-linecap=\"butt\"";
      if (l->Style == kDot) w << " stroke-dasharray=\"45 45\" stroke-linecap=\"butt\"";
      w << "/>";
    } else {
      const auto& t = std::get<Printed_Text>(item);
      w << "<text";
      w.Attr("x", t.X);
      if (use == Svg_Use::Document) {
        w.Attr("y", t.Y) << " dominant-baseline=\"text-before-edge\"";
      } else {  // the top of the text at Y
        const Font_Spec& f = layer.Font;
        w.Attr("y", t.Y + Extent_Of(Font_Stack(f), f.Size * kTwipsPerPoint, f.Weight >= 600).ascent);
      }
      w << " fill=\"";
      w.Color(t.Color) << '"';
      w.Font(layer.Font) << '>';
      w.Escaped(t.Text) << "</text>";
    }
  }
  w << "</g>";
}

// Characters of UTF-8 text (lead bytes).
std::size_t Characters(std::string_view s) {
  std::size_t n = 0;
  for (const char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

// A one-line label: a centred caption, or one whose left edge stays at Left as it grows; one
// estimated to grow past the panel's right edge (a Julian date with its mark) ends at that
// edge instead. The estimate allows 0.55 em a character.
void Label(Svg_Writer& w, const Child_Control& c, Svg_Use use) {
  constexpr double kPanelRight = kDesignWidth - 150;  // twips: inside the panel's frame
  const bool centred = c.Alignment == Text_Align::Center;
  const bool rtl = Has_Arabic(c.Caption);
  const double estimate = 0.55 * c.Font.Size * kTwipsPerPoint * Characters(c.Caption);
  const bool at_edge = !centred && c.Left + estimate > kPanelRight;
  w << "<text";
  w.Attr("x", centred ? c.Left + c.Width / 2 : at_edge ? kPanelRight : c.Left);
  if (use == Svg_Use::Document) {
    w.Attr("y", c.Top + c.Height / 2) << " dominant-baseline=\"central\"";
  } else {  // the text's ascent and descent centred on the label
    const Font_Extent e =
        Extent_Of(Font_Stack(c.Font), c.Font.Size * kTwipsPerPoint, c.Font.Weight >= 600);
    w.Attr("y", c.Top + c.Height / 2 + (e.ascent - e.descent) / 2);
  }
  const char* anchor = centred ? "middle" : (rtl != at_edge) ? "end" : "start";
  w << " direction=\"" << (rtl ? "rtl" : "ltr")
    << "\" text-anchor=\"" << anchor << "\" fill=\"";
  w.Color(c.ForeColor) << '"';
  w.Font(c.Font) << '>';
  if (!c.ToolTipText.empty()) w << "<title>", w.Escaped(c.ToolTipText) << "</title>";
  w.Escaped(c.Caption) << "</text>";
}

// Multi-line text (the analysis and the credits) as the window's text boxes show it: a
// padding of 60 on either side, right to left, lines right-aligned or centred, wrapped where
// the fonts that draw them break (Wrap_Text), each line's box line_height ems tall with the
// text centred in it (CSS line-height). A picture cannot scroll: a text longer than its box
// gets tighter lines, down to 1.2 ems, then a smaller size, in steps of 5 %, until it fits.
void Text_Box_Svg(Svg_Writer& w, const Child_Control& c, double x, double y, double line_height) {
  constexpr double kPadding = 60, kTightest = 1.2;
  const Font_Spec& font = c.Font;
  const bool bold = font.Weight >= 600;
  const bool centred = c.Alignment == Text_Align::Center;
  double size = font.Size * kTwipsPerPoint;
  Wrapped_Text wrapped = Wrap_Text(c.Caption, Font_Stack(font), size, bold, c.Width - 2 * kPadding);
  // The lines' boxes, and what the font's ascent and descent reach past them above the
  // first line and below the last.
  const auto height = [&](double lh) {
    const double over = std::max(0.0, wrapped.ascent + wrapped.descent - lh * size);
    return static_cast<double>(wrapped.lines.size()) * lh * size + over;
  };
  // The tightest line height at which the text fits, within kTightest..line_height.
  const auto fitting = [&](double widest) {
    double lh = widest;
    while (lh > kTightest && height(lh) > c.Height) lh = std::max(kTightest, lh - 0.05);
    return lh;
  };
  line_height = fitting(line_height);
  for (int step = 1; height(line_height) > c.Height && step < 10; ++step) {
    size = font.Size * kTwipsPerPoint * (1 - 0.05 * step);
    wrapped = Wrap_Text(c.Caption, Font_Stack(font), size, bold, c.Width - 2 * kPadding);
    line_height = fitting(line_height);
  }
  w << "<g class=\"" << c.Name << "\"><rect";
  w.Attr("x", x).Attr("y", y).Attr("width", c.Width).Attr("height", c.Height);
  w << " fill=\"";
  w.Color(c.BackColor) << "\"/><g direction=\"rtl\" text-anchor=\""
                        << (centred ? "middle" : "start") << "\" xml:space=\"preserve\" fill=\"";
  w.Color(c.ForeColor) << "\" font-family=\"" << Font_Stack(font) << '"';
  w.Attr("font-size", size);
  if (bold) w << " font-weight=\"bold\"";
  w << '>';
  const double box = line_height * size;
  const double baseline = (box - wrapped.ascent - wrapped.descent) / 2 + wrapped.ascent;
  const double anchor_x = centred ? x + c.Width / 2 : x + c.Width - kPadding;
  for (std::size_t k = 0; k < wrapped.lines.size(); ++k) {
    if (wrapped.lines[k].text.empty()) continue;
    w << "<text";
    w.Attr("x", anchor_x).Attr("y", y + k * box + baseline);
    w << '>';
    w.Escaped(wrapped.lines[k].text) << "</text>";
  }
  w << "</g></g>";
}

void Window_Svg(Svg_Writer& w, const FrmAnalyse& f, double left, double top) {
  const double frame = FrmAnalyse::Frame_Width;
  const double cx = left + frame, cy = top + frame;
  w << "<g id=\"analysis-window\" role=\"dialog\"><rect";
  w.Attr("x", left).Attr("y", top);
  w.Attr("width", FrmAnalyse::Client_Width + 2 * frame).Attr("height", FrmAnalyse::Client_Height + 2 * frame);
  w << " fill=\"#1B2452\"/><rect";
  w.Attr("x", cx).Attr("y", cy).Attr("width", FrmAnalyse::Client_Width).Attr("height", FrmAnalyse::Client_Height);
  w << " fill=\"";
  w.Color(FrmAnalyse::Back_Color) << "\"/>";
  // Back to front: the label under the windowed text box and picture box.
  Text_Box_Svg(w, f.Lab, cx + f.Lab.Left, cy + f.Lab.Top, 1.2);
  Text_Box_Svg(w, f.TxtAnalyse, cx + f.TxtAnalyse.Left, cy + f.TxtAnalyse.Top, 1.5);
  const double px = cx + f.Pic.Left, py = cy + f.Pic.Top;
  w << "<rect";
  w.Attr("x", px).Attr("y", py).Attr("width", f.Pic.Width).Attr("height", f.Pic.Height);
  w << " fill=\"";
  w.Color(f.Pic.BackColor) << "\"/>";
  // The close button: a raised face with the cross that its symbol-font caption draws.
  const Child_Control& b = f.CmdExit;
  const double bx = px + b.Left, by = py + b.Top;
  w << "<g id=\"close-button\"><title>إغلاق</title><rect";
  w.Attr("x", bx).Attr("y", by).Attr("width", b.Width).Attr("height", b.Height);
  w << " fill=\"";
  w.Color(b.BackColor) << "\" stroke=\"#808080\" stroke-width=\"15\"/><path d=\"M";
  w.Num(bx + 90) << ' ';
  w.Num(by + 90) << "l105 105m0 -105l-105 105\" stroke=\"#000000\" stroke-width=\"30\"/></g></g>";
}
}  // namespace

std::string Chart_Svg(const Chart_View& view, const FrmAnalyse* window, Svg_Use use) {
  Svg_Writer w(160 * 1024);
  // The analysis window opens centred on the control; the canvas grows to hold it.
  const double win_w = FrmAnalyse::Client_Width + 2 * FrmAnalyse::Frame_Width;
  const double win_h = FrmAnalyse::Client_Height + 2 * FrmAnalyse::Frame_Width;
  const double win_x = (kDesignWidth - win_w) / 2, win_y = (kDesignHeight - win_h) / 2;
  double x0 = 0, y0 = 0, x1 = kDesignWidth, y1 = kDesignHeight;
  if (window) {
    x0 = std::min(x0, win_x), y0 = std::min(y0, win_y);
    x1 = std::max(x1, win_x + win_w), y1 = std::max(y1, win_y + win_h);
  }
  w << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
       "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" viewBox=\"";
  w.Num(x0) << ' ';
  w.Num(y0) << ' ';
  w.Num(x1 - x0) << ' ';
  w.Num(y1 - y0) << "\" width=\"";
  w.Num((x1 - x0) / kTwipsPerPixel) << "\" height=\"";
  w.Num((y1 - y0) / kTwipsPerPixel) << "\" lang=\"ar\">\n";
  w << "<title>" << view.title << "</title>\n";

  if (use == Svg_Use::Document) {
    w << "<rect width=\"7695\" height=\"6885\" fill=\"";
    w.Color(kSurfaceBackColor) << "\"/>\n";
    Image(w, kBackgroundPicture, 0, 0, kBackgroundWidth, kBackgroundHeight);
    w << '\n';
  }
  Drawing_Layer_Svg(w, view.layer, use);
  w << '\n';

  // Children back to front.
  for (auto it = view.children.rbegin(); it != view.children.rend(); ++it) {
    const Child_Control& c = **it;
    if (!c.Visible) continue;
    if (c.Kind == Control_Kind::Image) {
      w << "<g class=\"" << c.Name << "\">";
      if (!c.ToolTipText.empty()) w << "<title>", w.Escaped(c.ToolTipText) << "</title>";
      if (c.Picture.empty()) {
        w << "<rect";
        w.Attr("x", c.Left).Attr("y", c.Top).Attr("width", c.Width).Attr("height", c.Height);
        w << " fill=\"#000000\" fill-opacity=\"0\"/>";
      } else {
        Image(w, c.Picture, c.Left, c.Top, c.Width, c.Height);
      }
      w << "</g>\n";
    } else if (c.Pointer == Mouse_Pointer::Hand) {
      w << "<g class=\"" << c.Name << "\" style=\"cursor:url(" << Data_Uri("hand")
        << ") 11 1, pointer\">";
      Label(w, c, use);
      w << "</g>\n";
    } else {
      Label(w, c, use);
      w << '\n';
    }
  }
  if (window) Window_Svg(w, *window, win_x, win_y);
  w << "</svg>\n";
  return w.Take();
}
