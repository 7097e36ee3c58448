// The SVG rendering of the control: every drawn item in order, colours, pen patterns,
// tooltips, and text that cannot break the document.
#include "render/chart_svg.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <ctime>
#include <regex>
#include <sstream>
#include <string>

#include "control/activex_ctl.h"
#include "service/native_platform.h"
#include "ui/frm_analyse.h"

namespace {
std::string Num(float x) {
  char buf[32];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, x).ptr);
}

int Count(const std::string& s, const std::string& what) {
  int n = 0;
  for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
  return n;
}

// The date label in the C locale ("%m/%d/%y %H:%M:%S") and UTC: the year always in full, and
// a day before 1582-10-15 given in the Julian calendar (as the instant was read) and marked.
TEST(ChartSvg, DateLabelYearInFullAndJulianDatesMarked) {
  const char* old_zone = std::getenv("TZ");
  const std::string saved_zone = old_zone ? old_zone : "";
  setenv("TZ", "UTC", 1);
  tzset();
  const std::string saved_locale = std::setlocale(LC_TIME, nullptr);
  std::setlocale(LC_TIME, "C");
  const struct {
    CivilTime utc;
    const char* label;
  } cases[] = {
      {{2024, 4, 12, 12, 0, 0}, "04/12/2024 12:00:00"},
      {{1824, 4, 12, 12, 0, 0}, "04/12/1824 12:00:00"},
      {{1582, 10, 15, 0, 0, 0}, "10/15/1582 00:00:00"},
      {{1582, 10, 4, 23, 59, 0}, "\u206810/04/1582 23:59:00\u2069 (يولياني)"},
      {{1000, 1, 1, 12, 0, 0}, "\u206801/01/1000 12:00:00\u2069 (يولياني)"},
      {{800, 2, 29, 6, 30, 15}, "\u206802/29/0800 06:30:15\u2069 (يولياني)"},  // a Julian leap day
  };
  std::ostringstream err;
  for (const auto& c : cases) EXPECT_EQ(Native_Platform(c.utc, err).Date_Text(), c.label) << c.label;
  std::setlocale(LC_TIME, saved_locale.c_str());
  if (old_zone) setenv("TZ", saved_zone.c_str(), 1); else unsetenv("TZ");
  tzset();
}

TEST(ChartSvg, DrawingLayerChildrenAndWindow) {
  std::ostringstream err;
  Native_Platform platform({2020, 12, 21, 18, 0, 0}, err);
  ActiveX_Ctl ctl(platform);
  ctl.UserControl_Initialize();
  // Every pen: a tick, and one line of each aspect style.
  Drawing_Layer& layer = ctl.Chart.Layer;
  for (const auto& [color, width, style] : {std::tuple{0x0000FFu, 8, 0}, {0x8080FFu, 1, 1},
                                            {0x0080FFu, 1, 2}}) {
    layer.ForeColor = color, layer.DrawWidth = width, layer.DrawStyle = style;
    layer.Line(1, 2, 3, 4);
  }
  ctl.LabAnalyse[0].Caption = "a<b&\"c";
  const std::string svg = Chart_Svg({ActiveX_Ctl::kProgId, ctl.Chart.Layer, ctl.Children()});

  EXPECT_NE(svg.find("viewBox=\"0 0 7695 6885\" width=\"513\" height=\"459\""), std::string::npos);
  const std::size_t begin = svg.find("<g id=\"drawing-layer\"");
  const std::size_t end = svg.find("</g>", begin);
  ASSERT_NE(begin, std::string::npos);
  const std::string drawing = svg.substr(begin, end - begin);
  int lines = 0, texts = 0;
  for (const Drawing_Item& item : layer.Items()) (item.index() == 0 ? lines : texts) += 1;
  EXPECT_EQ(Count(drawing, "<line "), lines);
  EXPECT_EQ(Count(drawing, "<text "), texts);
  EXPECT_EQ(texts, 1);  // Uranus retrograde
  EXPECT_NE(drawing.find(">(ع)</text>"), std::string::npos);
  EXPECT_EQ(drawing.find("<line x1=\""), drawing.find("<line "));
  EXPECT_NE(drawing.find("stroke=\"#599FAC\" stroke-width=\"15\"/>"), std::string::npos);
  // Each pen whole: the conjunction's width, the square's dashes, the opposition's dots.
  for (const char* pen : {"stroke=\"#FF0000\" stroke-width=\"120\"/>",
                          "stroke=\"#FF8080\" stroke-width=\"15\" stroke-dasharray=\"270 90\" "
                          "stroke-linecap=\"butt\"/>",
                          "stroke=\"#FF8000\" stroke-width=\"15\" stroke-dasharray=\"45 45\" "
                          "stroke-linecap=\"butt\"/>"})
    EXPECT_NE(drawing.find(std::string("<line x1=\"1\" y1=\"2\" x2=\"3\" y2=\"4\" ") + pen),
              std::string::npos) << pen;

  // Glyphs at their placed positions with their tooltips; labels; the date.
  for (const Child_Control& glyph : ctl.Chart.ImgPln) {
    const std::string expected = "<title>" + glyph.ToolTipText + "</title><image x=\"" +
                                 Num(glyph.Left) + "\" y=\"" + Num(glyph.Top) +
                                 "\" width=\"300\" height=\"300\"";
    EXPECT_NE(svg.find(expected), std::string::npos) << glyph.ToolTipText;
  }
  EXPECT_NE(svg.find(">a&lt;b&amp;&quot;c</text>"), std::string::npos);
  EXPECT_NE(svg.find(">برج الحوت</text>"), std::string::npos);
  EXPECT_NE(svg.find(">" + ctl.LabDate.Caption + "</text>"), std::string::npos);
  EXPECT_EQ(svg.find("analysis-window"), std::string::npos);

  // The window opened for Pisces: its text without carriage returns, the canvas grown.
  Unload_FrmAnalyse();
  ctl.LabAnalyse_MouseUp(11, 1, 0, 0, 0);
  const FrmAnalyse* frm = Loaded_FrmAnalyse();
  ASSERT_TRUE(frm && frm->Shown());
  const std::string with_window = Chart_Svg({ActiveX_Ctl::kProgId, ctl.Chart.Layer, ctl.Children()}, frm);
  // Drawn as SVG text lines (no HTML, which only browsers draw), every word of the analysis
  // and of the credits once, in order: the lines joined equal the text, blanks aside.
  EXPECT_EQ(with_window.find("foreignObject"), std::string::npos);
  for (const Child_Control* box : {&frm->TxtAnalyse, &frm->Lab}) {
    const std::size_t from = with_window.find("<g class=\"" + box->Name + "\">");
    ASSERT_NE(from, std::string::npos) << box->Name;
    const std::string group = with_window.substr(from, with_window.find("</g></g>", from) - from);
    std::string drawn;
    const std::regex line("<text x=\"[-0-9.]+\" y=\"[-0-9.]+\">([^<]*)</text>");
    for (std::sregex_iterator it(group.begin(), group.end(), line), end; it != end; ++it)
      drawn += (*it)[1].str() + " ";
    const auto words = [](const std::string& s) {
      return std::regex_replace(std::regex_replace(s, std::regex("[ \r\n]+"), " "),
                                std::regex("^ | $"), "");
    };
    EXPECT_EQ(words(drawn), words(box->Caption)) << box->Name;
  }
  EXPECT_NE(with_window.find("viewBox=\"-622.5 0 8940 6885\" width=\"596\" height=\"459\""),
            std::string::npos);
  Unload_FrmAnalyse();
}
}  // namespace
