// The chart control driven through its events against a recording platform: what a visitor
// would see after start-up, on resize, and when a sign label is released.
#include "control/activex_ctl.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "analysis/analysis_state.h"
#include "analysis/analysis_text.h"
#include "analysis/names.h"
#include "ephemeris/float_check.h"
#include "ephemeris/shared_state.h"
#include "tests/control/recording_platform.h"

namespace {
std::vector<Drawn_Line> Lines(const ActiveX_Ctl& c) {
  std::vector<Drawn_Line> lines;
  for (const Drawing_Item& item : c.Chart.Layer.Items())
    if (const auto* line = std::get_if<Drawn_Line>(&item)) lines.push_back(*line);
  return lines;
}

std::vector<Printed_Text> Marks(const ActiveX_Ctl& c) {
  std::vector<Printed_Text> marks;
  for (const Drawing_Item& item : c.Chart.Layer.Items())
    if (const auto* text = std::get_if<Printed_Text>(&item)) marks.push_back(*text);
  return marks;
}

class ControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Unload_FrmAnalyse();
    Pln_Rec = {};
    JulianCenturies = 0;
  }
  void TearDown() override { Unload_FrmAnalyse(); }
  RecordingPlatform platform;
};

// Every child's design box, the control's front to back and then the window's, exactly as
// tests/data/design_layout.tsv holds them.
TEST_F(ControlTest, DesignLayoutIsThePinnedOne) {
  const ActiveX_Ctl ctl(platform);
  std::vector<const Child_Control*> children = ctl.Children();
  const FrmAnalyse& frm = Frm_Analyse();
  for (const Child_Control* c : {&frm.TxtAnalyse, &frm.Pic, &frm.CmdExit, &frm.Lab})
    children.push_back(c);
  std::FILE* f = std::fopen(ZC_TEST_DATA_DIR "/design_layout.tsv", "r");
  ASSERT_NE(f, nullptr) << "cannot open design_layout.tsv";
  std::size_t row = 0;
  char line[256];
  while (std::fgets(line, sizeof line, f)) {
    if (line[0] == '#') continue;
    char name[32];
    int index;
    float box[4];
    ASSERT_EQ(std::sscanf(line, "%31s %d %f %f %f %f", name, &index, &box[0], &box[1], &box[2],
                          &box[3]), 6) << line;
    ASSERT_LT(row, children.size()) << line;
    const Child_Control& c = *children[row++];
    EXPECT_EQ(c.Name, name) << row;
    EXPECT_EQ(c.Index, index) << name;
    EXPECT_EQ((std::vector<float>{c.Left, c.Top, c.Width, c.Height}),
              (std::vector<float>{box[0], box[1], box[2], box[3]})) << name << " " << index;
  }
  std::fclose(f);
  EXPECT_EQ(row, children.size());
}

TEST_F(ControlTest, StartUpDrawsTheSkyThenShowsTheDate) {
  struct Case {
    CivilTime utc;
    std::vector<int> retrograde;  // bodies with a mark: in a known retrograde loop
  };
  const Case cases[] = {
      {{2000, 1, 1, 12, 0, 0}, {BodyIndex::Saturn}},      // stationary on 2000-01-12
      {{2020, 12, 21, 18, 0, 0}, {BodyIndex::Uranus}},    // 2020-08-15 .. 2021-01-14
      {{2024, 4, 12, 12, 0, 0}, {BodyIndex::Mercury}},    // 2024-04-01 .. 04-25
  };
  for (const Case& c : cases) {
    RecordingPlatform host;
    host.clock = c.utc;
    ActiveX_Ctl ctl(host);
    ctl.UserControl_Initialize();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"clock", "date"}));
    EXPECT_EQ(ctl.LabDate.Caption, host.date_text);
    const std::vector<Printed_Text> marks = Marks(ctl);
    ASSERT_EQ(marks.size(), c.retrograde.size());
    for (std::size_t m = 0; m < marks.size(); ++m) {
      const Child_Control& glyph = ctl.Chart.ImgPln[c.retrograde[m]];
      EXPECT_EQ(marks[m].X, glyph.Left + 200) << glyph.ToolTipText;
      EXPECT_EQ(marks[m].Y, glyph.Top + 300) << glyph.ToolTipText;
    }
    EXPECT_EQ(Pln_Rec[BodyIndex::Moon].Retro, 0);
    for (const Child_Control& glyph : ctl.Chart.ImgPln) EXPECT_FALSE(glyph.ToolTipText.empty());
  }
}

TEST_F(ControlTest, ResizeRedrawsInPlaceWithEachAspectTwice) {
  platform.clock = {2020, 12, 21, 18, 0, 0};  // Jupiter and Saturn in conjunction
  ActiveX_Ctl ctl(platform);
  ctl.UserControl_Initialize();
  // Start-up redraws as a resize does: ten ticks, then the aspects drawn twice.
  const std::vector<Drawn_Line> first = Lines(ctl);
  const std::size_t aspects = (first.size() - 10) / 2;
  ASSERT_GT(aspects, 0u);
  ASSERT_EQ(first.size(), 10 + 2 * aspects);
  bool red_conjunction = false;
  for (std::size_t k = 10; k < first.size(); ++k)
    red_conjunction |= first[k].Color == 0x0000FF && first[k].Width == 8;
  EXPECT_TRUE(red_conjunction);

  const auto glyph = ctl.Chart.ImgPln[BodyIndex::Jupiter];
  ctl.UserControl_Resize();
  ctl.UserControl_Resize();
  const std::vector<Drawn_Line> again = Lines(ctl);
  ASSERT_EQ(again.size(), 10 + 2 * aspects);
  for (std::size_t k = 0; k < again.size(); ++k) {
    const std::size_t twin = k < 10 ? k : 10 + (k - 10) % aspects;
    EXPECT_EQ(again[k].X1, first[twin].X1) << k;
    EXPECT_EQ(again[k].Y2, first[twin].Y2) << k;
    EXPECT_EQ(again[k].Color, first[twin].Color) << k;
  }
  EXPECT_EQ(ctl.Chart.ImgPln[BodyIndex::Jupiter].Left, glyph.Left);
  EXPECT_EQ(ctl.LabAnalyse[3].Left, 6255);
}

TEST_F(ControlTest, StartUpFaultLeavesTheDesignLayoutAndNoDate) {
  // A million years back Mercury's orbit breaks down: the computation faults before drawing.
  platform.clock = {-998100, 1, 1, 0, 0, 0};
  ActiveX_Ctl ctl(platform);
  EXPECT_THROW(ctl.UserControl_Initialize(), FloatError);
  EXPECT_EQ(ctl.LabDate.Caption, "Label1");
  EXPECT_TRUE(ctl.Chart.Layer.Items().empty());
  EXPECT_EQ(ctl.Chart.ImgPln[0].Left, 5160);
  EXPECT_EQ(ctl.Chart.ImgPln[9].Top, 4680);

  // A drawing fault in the redraw also ends start-up before the date.
  platform.clock = {2000, 1, 1, 12, 0, 0};
  ActiveX_Ctl broken(platform);
  broken.Chart.ImgPln[4].Width = std::numeric_limits<float>::infinity();
  EXPECT_THROW(broken.UserControl_Initialize(), FloatError);
  EXPECT_EQ(broken.LabDate.Caption, "Label1");
  EXPECT_EQ(Lines(broken).size(), 5u);  // ticks of bodies 0..4, no aspects
  EXPECT_EQ(broken.Chart.ImgPln[5].Left, 1020);
  EXPECT_EQ(platform.calls.back(), "clock");
}

TEST_F(ControlTest, ControlsShareTheTableUnlessTheyKeepTheirOwnSky) {
  RecordingPlatform early, late;
  early.clock = {1990, 6, 1, 0, 0, 0};
  late.clock = {2030, 6, 1, 0, 0, 0};
  ActiveX_Ctl shared(early), own(early), other(late);
  own.Keep_Own_Sky(true);
  shared.UserControl_Initialize();
  own.UserControl_Initialize();
  const std::string sun_1990 = own.Chart.ImgPln[0].ToolTipText;
  other.UserControl_Initialize();
  const Shared_Table_Copy table_2030;
  shared.UserControl_Resize();
  own.UserControl_Resize();
  EXPECT_EQ(shared.Chart.ImgPln[0].ToolTipText, other.Chart.ImgPln[0].ToolTipText);
  EXPECT_EQ(own.Chart.ImgPln[0].ToolTipText, sun_1990);
  EXPECT_NE(sun_1990, other.Chart.ImgPln[0].ToolTipText);

  // After every event of the control with its own sky the table is as it was before (here
  // as the 2030 start-up left it).
  const std::function<void()> events[] = {
      [&] { own.UserControl_Resize(); },  [&] { own.DrawThéme(); },
      [&] { own.ShowAspects_Pln(); },     [&] { own.LabAnalyse_MouseUp(4, 1, 0, 0, 0); },
      [&] { own.UserControl_Initialize(); }};
  for (const auto& event : events) {
    Unload_FrmAnalyse();
    table_2030.Restore();
    event();
    for (int k = 0; k < BodyIndex::Count; ++k) {
      EXPECT_EQ(Pln_Rec[k].Lon, table_2030.rec[k].Lon) << k;
      EXPECT_EQ(Pln_Rec[k].Retro, table_2030.rec[k].Retro) << k;
      EXPECT_EQ(Pln_Rec[k].House, table_2030.rec[k].House) << k;
      EXPECT_EQ(Pln_Lon[k], table_2030.lon[k]) << k;
    }
    EXPECT_EQ(JulianCenturies, table_2030.julian_centuries);
    EXPECT_EQ(Sun_Dist, table_2030.sun_dist);
  }
  EXPECT_EQ(own.Chart.ImgPln[0].ToolTipText, sun_1990);
}

TEST_F(ControlTest, SignLabelOpensTheAnalysisWindow) {
  ActiveX_Ctl ctl(platform);
  ctl.UserControl_Initialize();
  EXPECT_EQ(Loaded_FrmAnalyse(), nullptr);  // loaded on first use

  ctl.LabAnalyse_MouseUp(11, 2, 0, 10, 5);  // the right button opens it too
  FrmAnalyse* frm = Loaded_FrmAnalyse();
  ASSERT_NE(frm, nullptr);
  EXPECT_TRUE(frm->Shown());
  EXPECT_EQ(Sel_Sign, 11);
  const std::string pisces = frm->TxtAnalyse.Caption;
  EXPECT_EQ(pisces.rfind("\r\nبرج الحوت" + std::string(26, ' ') + "\r\n\r\n\r\n", 0), 0u);
  EXPECT_EQ(pisces, Compose_Analysis_Text(11));

  // A second release while it is shown refills it, then fails to show: one message box.
  ctl.LabAnalyse_MouseUp(4, 1, 0, 0, 0);
  EXPECT_TRUE(frm->Shown());
  EXPECT_EQ(frm->TxtAnalyse.Caption, Compose_Analysis_Text(4));
  ASSERT_EQ(platform.message_boxes.size(), 1u);
  EXPECT_EQ(platform.message_boxes[0].first, "أغلق النافذة المفتوحة مسبقاً أو أعد تحديث صفحة الويب");
  EXPECT_EQ(platform.message_boxes[0].second, 16);

  platform.calls.clear();
  frm->CmdExit_Click(platform);
  EXPECT_FALSE(frm->Shown());
  EXPECT_EQ(platform.calls, std::vector<std::string>{"hide"});
  ctl.LabAnalyse_MouseUp(0, 1, 0, 0, 0);
  EXPECT_TRUE(frm->Shown());
  EXPECT_EQ(frm->TxtAnalyse.Caption, Compose_Analysis_Text(0));
  EXPECT_EQ(Loaded_FrmAnalyse(), frm);  // the same instance
  EXPECT_EQ(platform.message_boxes.size(), 1u);
}

TEST_F(ControlTest, FailuresEndInOneMessageBox) {
  ActiveX_Ctl ctl(platform);
  ctl.UserControl_Initialize();
  // An index with no label: the houses are counted, then reading its caption fails.
  ctl.LabAnalyse_MouseUp(12, 1, 0, 0, 0);
  EXPECT_EQ(Sel_Sign, 12);
  ASSERT_NE(Loaded_FrmAnalyse(), nullptr);
  EXPECT_FALSE(Loaded_FrmAnalyse()->Shown());
  EXPECT_EQ(Loaded_FrmAnalyse()->TxtAnalyse.Caption, "");

  // The host refuses to show it: the text stays filled, the window hidden.
  platform.show_result = Window_Platform::Show_Result::Refused;
  ctl.LabAnalyse_MouseUp(5, 1, 0, 0, 0);
  EXPECT_FALSE(Loaded_FrmAnalyse()->Shown());
  EXPECT_EQ(Loaded_FrmAnalyse()->TxtAnalyse.Caption, Compose_Analysis_Text(5));
  EXPECT_EQ(platform.message_boxes.size(), 2u);

  // A blocking host: a release arriving inside the modal loop fails, the close ends the loop.
  platform.show_result = Window_Platform::Show_Result::Closed;
  platform.during_show = [&](FrmAnalyse& frm) {
    ctl.LabAnalyse_MouseUp(7, 1, 0, 0, 0);
    frm.CmdExit_Click(platform);
  };
  ctl.LabAnalyse_MouseUp(6, 1, 0, 0, 0);
  EXPECT_FALSE(Loaded_FrmAnalyse()->Shown());
  EXPECT_EQ(Loaded_FrmAnalyse()->TxtAnalyse.Caption, Compose_Analysis_Text(7));
  EXPECT_EQ(platform.message_boxes.size(), 3u);
}
}  // namespace
