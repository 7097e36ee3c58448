// The server-rendered chart: the control's model written as the element's declarative shadow
// root. Places are SVG attributes in CSS pixels, as the element draws them, numbers fixed-point with at most three decimals (no general float formatting in the
// WebAssembly module), so the native and the WebAssembly builds write the same bytes.
#include "control/chart_markup.h"

#include <cmath>
#include <cstdint>
#include <variant>

#include "analysis/position_text.h"
#include "calendar/calendar.h"
#include "render/css_style.h"
#include "render/markup_escape.h"
#include "render/drawing_layer.h"
#include "ui/surface.h"

namespace {
constexpr double kTwipsPerPoint = 20;
constexpr double kTwipsPerPixel = 15;
constexpr std::int64_t kFirstGregorianDay = 2299161;  // day number of 1582-10-15
constexpr const char* kChartTitle = "خريطة الأبراج اليومية";
constexpr double kPanelRight = kDesignWidth - 150;  // twips: inside the panel's frame
constexpr std::uint32_t kNoSkyReasonColor = 0xA0D9FF;  // #FFD9A0, light amber on the dark panel

// The web bundle keeps the background and the ten glyphs in one file: one request and one
// SVG document in the browser for all eleven; each glyph is one of its views.
constexpr const char* kArtworkFile = "artwork.svg";

static_assert(kChartPixelWidth * kTwipsPerPixel == kDesignWidth);
static_assert(kChartPixelHeight * kTwipsPerPixel == kDesignHeight);

// The writer's small steps are called, not inlined: inlined at each of their many uses they
// made the WebAssembly module some KB larger, for no measurable speed.
#define ZC_OUT_OF_LINE [[gnu::noinline]]

class Markup {
 public:
  std::string out;

  ZC_OUT_OF_LINE Markup& operator<<(std::string_view s) { return out += s, *this; }
  Markup& operator<<(char c) { return out += c, *this; }

  // x with up to three decimals, trailing zeros dropped.
  ZC_OUT_OF_LINE Markup& Num(double x) {
    if (!std::isfinite(x) || std::fabs(x) > 9e15) x = 0;
    std::int64_t milli = std::llround(x * 1000);
    if (milli < 0) out += '-', milli = -milli;
    Digits(milli / 1000);
    int frac = static_cast<int>(milli % 1000);
    if (frac == 0) return *this;
    out += '.';
    for (int unit = 100; frac != 0; unit /= 10) {
      out += static_cast<char>('0' + frac / unit);
      frac %= unit;
    }
    return *this;
  }
  ZC_OUT_OF_LINE Markup& Digits(std::int64_t n) {
    char buf[20];
    int len = 0;
    do buf[len++] = static_cast<char>('0' + n % 10), n /= 10;
    while (n != 0);
    while (len > 0) out += buf[--len];
    return *this;
  }
  ZC_OUT_OF_LINE Markup& Attr(std::string_view name, double value) {
    *this << ' ' << name << "=\"";
    return Num(value) << '"';
  }
  // A length of twips in CSS pixels, the unit the element draws in.
  ZC_OUT_OF_LINE Markup& Px(std::string_view name, double twips) { return Attr(name, twips / kTwipsPerPixel); }
  ZC_OUT_OF_LINE Markup& Attr(std::string_view name, std::string_view value) {
    *this << ' ' << name << "=\"";
    return Escaped(value) << '"';
  }
  // Text content or attribute value, escaped as all the chart's markup is.
  ZC_OUT_OF_LINE Markup& Escaped(std::string_view s) {
    Append_Escaped(out, s);
    return *this;
  }
  ZC_OUT_OF_LINE Markup& Font(const Font_Spec& f) {
    Attr("font-family", Font_Stack(f));
    Px("font-size", f.Size * kTwipsPerPoint);
    if (f.Weight >= 600) *this << " font-weight=\"bold\"";
    return *this;
  }
};

bool Has_Arabic(std::string_view s) {
  for (const char c : s) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0xD8 && b <= 0xDB) return true;  // lead bytes of U+0600..U+06FF
  }
  return false;
}

std::size_t Characters(std::string_view s) {
  std::size_t n = 0;
  for (const char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

void Two_Digits(std::string& out, int n) {
  out += static_cast<char>('0' + n / 10 % 10);
  out += static_cast<char>('0' + n % 10);
}

void Drawing_Layer_Markup(Markup& m, const Drawing_Layer& layer) {
  m << "<g class=\"layer\" aria-hidden=\"true\" direction=\"ltr\">";
  for (const Drawing_Item& item : layer.Items()) {
    if (const auto* l = std::get_if<Drawn_Line>(&item)) {
      m << "<line";
      m.Px("x1", l->X1).Px("y1", l->Y1).Px("x2", l->X2).Px("y2", l->Y2);
      m.Attr("stroke", Css_Colour(l->Color)).Attr("stroke-width", l->Width);
      if (l->Width > 1) m << " stroke-linecap=\"round\"";
      if (l->Style == kDash) m << " stroke-dasharray=\"18 6\"";
      if (l->Style == kDot) m << " stroke-dasharray=\"3 3\"";
      m << "/>";
    } else {
      const auto& t = *std::get_if<Printed_Text>(&item);  // get_if: no exception to throw
      m << "<text";
      m.Px("x", t.X).Px("y", t.Y);
      m << " dominant-baseline=\"text-before-edge\"";
      m.Attr("fill", Css_Colour(t.Color)).Font(layer.Font) << '>';
      m.Escaped(t.Text) << "</text>";
    }
  }
  m << "</g>";
}

// A one-line label at its top left, as the element sets it: a centred caption, or one whose
// left edge stays at Left as it grows; one estimated to grow past the panel's right edge (a
// Julian date with its mark) ends at that edge instead (0.55 em a character). extra: more
// attributes, written as they are. A sign label's tooltip is its group's; a chart's reason
// for showing no sky is bold, light amber, in the date's place.
enum class Label_Kind { Plain, Sign, Reason };
void Label_Markup(Markup& m, const Child_Control& c, std::string_view caption, std::string_view cls,
                  std::string_view part, std::string_view extra = "",
                  Label_Kind kind = Label_Kind::Plain) {
  const bool centred = c.Alignment == Text_Align::Center;
  const bool rtl = Has_Arabic(caption);
  const double estimate = 0.55 * c.Font.Size * kTwipsPerPoint * Characters(caption);
  const bool at_edge = !centred && c.Left + estimate > kPanelRight;
  m << "<text class=\"" << cls << "\" part=\"" << part << '"' << extra;
  m.Px("x", centred ? c.Left + c.Width / 2 : at_edge ? kPanelRight : c.Left);
  m.Px("y", c.Top + c.Height / 2);
  m << " dominant-baseline=\"central\" direction=\"" << (rtl ? "rtl" : "ltr")
    << "\" text-anchor=\"" << (centred ? "middle" : (rtl != at_edge) ? "end" : "start") << '"';
  if (kind == Label_Kind::Reason) {
    Font_Spec bold = c.Font;
    bold.Weight = 700;
    m.Attr("fill", Css_Colour(kNoSkyReasonColor)).Font(bold) << '>';
  } else {
    m.Attr("fill", Css_Colour(c.ForeColor)).Font(c.Font) << '>';
  }
  if (kind == Label_Kind::Plain && !c.ToolTipText.empty())
    m << "<title>", m.Escaped(c.ToolTipText) << "</title>";
  m.Escaped(caption) << "</text>";
}

// Sign label k with the row of the background's column behind it, the two under the label's
// tooltip. In the element's own drawing the row is the label's hit area and the label a
// button, with its box (twips) for the position of a release in it.
void Sign_Markup(Markup& m, const Child_Control& c, int k, bool live) {
  // Not a group of its own to assistive technology: the label inside is what it reads.
  m << "<g class=\"sign\" role=\"none\"";
  if (live) m.Attr("data-sign", k).Attr("data-left", c.Left).Attr("data-top", c.Top);
  m << '>';
  if (!c.ToolTipText.empty()) m << "<title>", m.Escaped(c.ToolTipText) << "</title>";
  m << "<rect class=\"row\"";
  m.Px("x", kSignRowLeft).Px("y", c.Top - kSignRowAbove);
  m.Px("width", kSignRowWidth).Px("height", kSignRowHeight) << " fill-opacity=\"0\"/>";
  Label_Markup(m, c, c.Caption, "label", "sign-label", live ? " role=\"button\" tabindex=\"0\"" : "",
               Label_Kind::Sign);
  m << "</g>";
}
}  // namespace

std::string Body_Name(int i) {
  std::string phrase = Pln_Phrase(static_cast<std::int16_t>(i));
  constexpr std::string_view kIn = " في ";
  if (phrase.size() >= kIn.size() && phrase.compare(phrase.size() - kIn.size(), kIn.size(), kIn) == 0)
    phrase.resize(phrase.size() - kIn.size());
  return phrase;
}

std::string Glyph_Name(const ActiveX_Ctl& ctl, int k) {
  std::string name = ctl.Chart.ImgPln[k].ToolTipText;
  if (!ctl.Chart.Shown.Retro_Marked[k]) return name;
  while (!name.empty() && (name.back() == ' ' || name.back() == '\r' || name.back() == '\n'))
    name.pop_back();
  return name + "، متراجع";
}

std::string Aspects_Description(const ActiveX_Ctl& ctl) {
  const auto& aspects = ctl.Chart.Shown.Aspects;
  if (aspects.empty()) return "لا خطوط مظاهر مرسومة";
  std::string text = "خطوط المظاهر المرسومة: ";
  for (std::size_t k = 0; k < aspects.size(); ++k) {
    if (k) text += "، ";
    text += std::string(aspects[k].aspect->name) + " " + Body_Name(aspects[k].first) + " و" +
            Body_Name(aspects[k].second);
  }
  return text;
}

std::string Utc_Date_Text(const CivilTime& utc) {
  std::string s;
  for (int unit = 1000; unit >= 1; unit /= 10) s += static_cast<char>('0' + utc.year / unit % 10);
  s += '-', Two_Digits(s, utc.month), s += '-', Two_Digits(s, utc.day);
  s += ' ', Two_Digits(s, utc.hour), s += ':', Two_Digits(s, utc.minute);
  s += ':', Two_Digits(s, static_cast<int>(utc.second));
  s += " UTC";
  if (Day_Number(utc.year, utc.month, utc.day) < kFirstGregorianDay) s += " (يولياني)";
  return s;
}

std::string Chart_Markup(const ActiveX_Ctl& ctl, const CivilTime& utc, std::string_view at,
                         std::string_view base) {
  Markup m;
  m << "<zodiac-chart";
  if (!at.empty()) m.Attr("at", at);
  m << '>' << Chart_Shadow_Root(ctl, utc, base) << "</zodiac-chart>";
  return m.out;
}

std::string Chart_Shadow_Root(const ActiveX_Ctl& ctl, const CivilTime& utc, std::string_view base) {
  Markup m;
  std::string root(base.empty() ? "/" : base);
  if (root.back() != '/') root += '/';
  const std::string date = Utc_Date_Text(utc);
  m << "<template shadowrootmode=\"open\"><link rel=\"stylesheet\" href=\"";
  m.Escaped(root) << "zodiac-chart.css\">";
  m << Chart_Svg(ctl, {root, date, false, {}}) << "</template>";
  return m.out;
}

std::string Chart_Svg(const ActiveX_Ctl& ctl, const Chart_Svg_Options& options) {
  Markup m;
  m.out.reserve(24 * 1024);
  std::string root(options.base.empty() ? "/" : options.base);
  if (root.back() != '/') root += '/';
  const bool live = options.interactive;
  const bool sky = options.no_sky.empty();

  m << "<svg";
  if (live) m << " xmlns=\"http://www.w3.org/2000/svg\"";
  m << " class=\"chart\" part=\"surface\" viewBox=\"0 0 ";
  m.Num(kChartPixelWidth) << ' ';
  m.Num(kChartPixelHeight) << '"';
  m.Attr("width", kChartPixelWidth).Attr("height", kChartPixelHeight);
  m << " lang=\"ar\" role=\"group\" aria-labelledby=\"chart-title chart-date\""
       " aria-describedby=\"chart-aspects\"";
  if (live) m.Attr("data-tip-font", Tooltip_Font_Stack()).Px("data-panel-right", kPanelRight);
  m << "><title id=\"chart-title\">" << kChartTitle << "</title><desc id=\"chart-aspects\">";
  if (sky) m.Escaped(Aspects_Description(ctl));
  m << "</desc><rect";
  m.Px("width", kDesignWidth).Px("height", kDesignHeight).Attr("fill", Css_Colour(kSurfaceBackColor));
  m << "/><image";
  m.Px("width", kBackgroundWidth).Px("height", kBackgroundHeight);
  m << " href=\"";
  m.Escaped(root) << kArtworkFile << "\"/>";
  if (sky) Drawing_Layer_Markup(m, ctl.Chart.Layer);

  // Back to front: the surface's tooltip area, the sign labels and the date, the glyphs, the
  // emblem. The labels and the date come before the glyphs though in front of them: they never
  // overlap (the column and the date lie right of and above the wheel), and so the reading
  // and the tab order run through the signs from Aries on, then the bodies in their order
  // (the design gives no order inside either array).
  enum class Role { Other, Sign, Date, Glyph };
  struct Placed {
    const Child_Control* child;
    Role role;
  };
  std::vector<Placed> children{{&ctl.Img, Role::Other}};
  for (const Child_Control& c : ctl.LabAnalyse) children.push_back({&c, Role::Sign});
  children.push_back({&ctl.LabDate, Role::Date});
  for (const Child_Control& c : ctl.Chart.ImgPln) children.push_back({&c, Role::Glyph});
  children.push_back({&ctl.ImgIcon, Role::Other});
  for (const auto& [child, role] : children) {
    const Child_Control& c = *child;
    if (!c.Visible && !live) continue;
    const bool glyph = role == Role::Glyph;
    const bool sign = role == Role::Sign;
    const bool date = role == Role::Date;
    // The element's hidden children stay in place, not shown, so the drawing keeps its shape.
    const bool unseen = live && (!c.Visible || (!sky && (glyph || date)));
    if (unseen) m << "<g display=\"none\" aria-hidden=\"true\">";
    if (date) {
      Label_Markup(m, c, live ? std::string_view(c.Caption) : options.date, "label date", "label",
                   sky ? " id=\"chart-date\"" : "");
    } else if (sign) {
      Sign_Markup(m, c, c.Index, live);
    } else if (c.Kind == Control_Kind::Label) {
      Label_Markup(m, c, c.Caption, "label", "label");
    } else if (c.Kind == Control_Kind::Image && c.Picture.empty()) {
      // A picture-less image: only its tooltip shows.
      m << "<rect class=\"hint\"";
      m.Px("width", c.Width).Px("height", c.Height).Px("x", c.Left).Px("y", c.Top);
      m << " fill-opacity=\"0\">";
      if (!c.ToolTipText.empty()) m << "<title>", m.Escaped(c.ToolTipText) << "</title>";
      m << "</rect>";
    } else if (c.Kind == Control_Kind::Image) {
      m << "<image class=\"" << (glyph ? "glyph\" part=\"glyph" : "image\" part=\"image") << '"';
      // At whole pixels, where the page's layout puts the element's own pictures.
      m.Attr("x", std::round(c.Left / kTwipsPerPixel)).Attr("y", std::round(c.Top / kTwipsPerPixel));
      m.Px("width", c.Width).Px("height", c.Height);
      m << " preserveAspectRatio=\"none\" href=\"";
      m.Escaped(root);
      if (c.Picture.rfind("glyph-", 0) == 0) m << kArtworkFile << '#', m.Escaped(c.Picture);
      else m.Escaped(c.Picture) << ".svg";
      m << '"';
      if (glyph) m << " role=\"img\"", m.Attr("aria-label", Glyph_Name(ctl, c.Index));
      else m << " aria-hidden=\"true\"";
      if (glyph && live) m << " tabindex=\"0\"";
      m << '>';
      if (!c.ToolTipText.empty()) m << "<title>", m.Escaped(c.ToolTipText) << "</title>";
      m << "</image>";
    }
    if (unseen) m << "</g>";
    // Why a chart shows no sky, read out in the date's place.
    if (date && !sky) {
      Label_Markup(m, c, options.no_sky, "label reason", "reason",
                   " id=\"chart-date\" role=\"alert\"", Label_Kind::Reason);
    }
  }
  m << "</svg>";
  return m.out;
}
