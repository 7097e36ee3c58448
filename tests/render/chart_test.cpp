// The chart on the wheel: ticks, glyphs, tooltips, marks and aspect lines, read back from the
// drawing layer.
#include "render/chart.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ephemeris/float_check.h"
#include "ephemeris/shared_state.h"

namespace {
std::vector<Drawn_Line> Lines(const Chart_Surface& c) {
  std::vector<Drawn_Line> lines;
  for (const Drawing_Item& item : c.Layer.Items())
    if (const auto* line = std::get_if<Drawn_Line>(&item)) lines.push_back(*line);
  return lines;
}

class ChartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Pln_Rec = {};
    for (Child_Control& img : chart.ImgPln) img.Width = img.Height = 300;
  }
  // The Sun at 0° and every other body at lon.
  void Sun_At_Zero_Others_At(double lon) {
    for (int k = 1; k < BodyIndex::Count; ++k) Pln_Rec[k].Lon = lon;
  }
  Chart_Surface chart;
};

TEST_F(ChartTest, TicksAndGlyphsAtTheirExactPlaces) {
  // 0° straight left of the centre (3200, 3900), 90° below, 180° right, 270° above; ticks from
  // radius 6000/4.6 to 6000/2.9 (single), glyph top left 120 + 100 twips up and left of the
  // point at radius 6000/2.8 (single). Every coordinate to the bit: the divisors' single
  // precision moves the last bit of several of them.
  struct Case {
    double lon;
    float x1, y1, x2, y2, left, top;
  };
  const Case cases[] = {
      {0, 1895.6522f, 3900, 1131.0344f, 3900, 837.1428f, 3680},
      {90, 3200, 5204.3477f, 3200, 5968.9653f, 2980, 5822.8574f},
      {180, 4504.3477f, 3900, 5268.9653f, 3900, 5122.8574f, 3680},
      {270, 3200, 2595.652f, 3200, 1831.0344f, 2980, 1537.1428f},
      {45.2, 2280.9119f, 4825.527f, 1742.1361f, 5368.0776f, 1470.0696f, 5200.509f},
      {123.456, 3919.0823f, 4988.2295f, 4340.6133f, 5626.1577f, 4161.3496f, 5467.806f},
      {300.75, 2533.096f, 2779.0352f, 2142.152f, 2121.9177f, 1884.372f, 1838.4148f},
  };
  for (const Case& c : cases) {
    for (auto& rec : Pln_Rec) rec.Lon = c.lon;
    DrawThéme(chart);
    const std::vector<Drawn_Line> lines = Lines(chart);
    ASSERT_EQ(lines.size(), 10u) << c.lon;  // ten coincident ticks, no aspect at d = 0
    const Drawn_Line& t = lines[0];
    EXPECT_EQ((std::vector<float>{t.X1, t.Y1, t.X2, t.Y2}), (std::vector<float>{c.x1, c.y1, c.x2, c.y2}))
        << c.lon;
    EXPECT_EQ(t.Color, 0xAC9F59u);
    EXPECT_EQ(t.Width, 1);
    EXPECT_EQ(t.Style, 0);
    EXPECT_EQ(chart.ImgPln[9].Left, c.left) << c.lon;
    EXPECT_EQ(chart.ImgPln[9].Top, c.top) << c.lon;
  }
  EXPECT_EQ(chart.Wheel_Vars.Wheel_R, 6000);
  EXPECT_EQ(chart.Wheel_Vars.Wheel_Rot, 270);
}

TEST_F(ChartTest, TooltipAndRetrogradeMark) {
  Pln_Rec[BodyIndex::Sun] = {45.2, 0, 0};
  Pln_Rec[BodyIndex::Mars] = {29.5, -1, 0};
  DrawThéme(chart);
  EXPECT_EQ(chart.ImgPln[0].ToolTipText, "الشمس في 15 جة من برج الثور ");
  EXPECT_EQ(chart.ImgPln[4].ToolTipText, "المريخ في 29 جة من برج الحمل ");
  std::vector<Printed_Text> marks;
  for (const Drawing_Item& item : chart.Layer.Items())
    if (const auto* text = std::get_if<Printed_Text>(&item)) marks.push_back(*text);
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_EQ(marks[0].Text, "(ع)");
  EXPECT_EQ(marks[0].Color, 0xAC9F59u);
  EXPECT_EQ(marks[0].X, chart.ImgPln[4].Left + 200);
  EXPECT_EQ(marks[0].Y, chart.ImgPln[4].Top + 300);
}

TEST_F(ChartTest, AspectLinesWithStrictLimits) {
  struct Case {
    double d;
    std::uint32_t color;  // 0: no line
    int width, style;
  };
  const Case cases[] = {
      {0, 0, 0, 0},       {5, 0x0000FF, 8, 0},   {355, 0x0000FF, 8, 0}, {10, 0, 0, 0},
      {350, 0, 0, 0},     {60, 0x00C000, 1, 0},  {300, 0x00C000, 1, 0}, {54, 0, 0, 0},
      {66, 0, 0, 0},      {294, 0, 0, 0},        {306, 0, 0, 0},        {90, 0x8080FF, 1, 1},
      {265, 0x8080FF, 1, 1}, {82, 0, 0, 0},      {98, 0, 0, 0},         {262, 0, 0, 0},
      {278, 0, 0, 0},     {185, 0x0080FF, 1, 2}, {170, 0, 0, 0},        {190, 0, 0, 0},
      {120, 0xFF8080, 1, 0}, {240, 0xFF8080, 1, 0}, {112, 0, 0, 0},     {128, 0, 0, 0},
      {232, 0, 0, 0},     {248, 0, 0, 0},
  };
  for (const Case& c : cases) {
    Sun_At_Zero_Others_At(c.d);
    chart.Layer.Cls();
    chart.Wheel_Vars = {6000, 270, 3200, 3900};
    ShowAspects_Pln(chart);
    const std::vector<Drawn_Line> lines = Lines(chart);
    // Only the Sun's nine pairs can fire; the others stand together at d = 0.
    ASSERT_EQ(lines.size(), c.color ? 9u : 0u) << c.d;
    for (const Drawn_Line& l : lines) {
      EXPECT_EQ(l.Color, c.color) << c.d;
      EXPECT_EQ(l.Width, c.width) << c.d;
      EXPECT_EQ(l.Style, c.style) << c.d;
    }
    EXPECT_EQ(chart.Layer.DrawWidth, 1) << c.d;
    EXPECT_EQ(chart.Layer.DrawStyle, 0) << c.d;
  }
}

TEST_F(ChartTest, AspectChordsEndAtTheTicksAndRedrawDrawsThemTwice) {
  Sun_At_Zero_Others_At(183);
  Pln_Rec[BodyIndex::Moon].Lon = 3;  // conjunction with the Sun, opposite the rest
  DrawThéme(chart);
  DrawThéme(chart);  // the layer is cleared first: one set remains
  std::vector<Drawn_Line> lines = Lines(chart);
  // Ten ticks, Sun–Moon conjunction, Sun–others 8 oppositions (183°), Moon–others 8 (180°).
  ASSERT_EQ(lines.size(), 10u + 1 + 8 + 8);
  const Drawn_Line& conjunction = lines[10];
  EXPECT_EQ(conjunction.Width, 8);
  EXPECT_EQ(lines[11].Width, 1);  // the width is set back after the conjunction
  EXPECT_EQ(conjunction.X1, lines[0].X1);
  EXPECT_EQ(conjunction.Y1, lines[0].Y1);
  EXPECT_EQ(conjunction.X2, lines[1].X1);
  EXPECT_EQ(conjunction.Y2, lines[1].Y1);

  Redraw_Chart(chart);
  lines = Lines(chart);
  ASSERT_EQ(lines.size(), 10u + 2 * 17);
  for (std::size_t k = 0; k < 17; ++k) {
    EXPECT_EQ(lines[10 + k].X2, lines[27 + k].X2) << k;
    EXPECT_EQ(lines[10 + k].Color, lines[27 + k].Color) << k;
  }
}

TEST_F(ChartTest, FaultsStopWhereTheyHappen) {
  // Before any DrawThéme the wheel variables are zero: every line meets at the origin.
  Sun_At_Zero_Others_At(60);
  ShowAspects_Pln(chart);
  for (const Drawn_Line& l : Lines(chart)) EXPECT_TRUE(!l.X1 && !l.Y1 && !l.X2 && !l.Y2);

  for (int k = 0; k < 10; ++k) chart.ImgPln[k].Left = -1;
  Pln_Rec[3].Lon = std::nan("");
  EXPECT_THROW(DrawThéme(chart), FloatError);
  EXPECT_EQ(Lines(chart).size(), 3u);  // bodies 0..2 drawn, no aspects
  EXPECT_NE(chart.ImgPln[2].Left, -1);
  EXPECT_EQ(chart.ImgPln[3].Left, -1);
}
}  // namespace
