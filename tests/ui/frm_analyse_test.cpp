// The analysis window: which child a point hits, and the strip that moves the window.
#include "ui/frm_analyse.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// A host that records what the window asks of it.
struct Recording_Host : Window_Platform {
  std::vector<std::string> calls;
  Show_Result Show_Modal(FrmAnalyse&) override {
    calls.push_back("show");
    return Show_Result::Shown;
  }
  void Hide(FrmAnalyse&) override { calls.push_back("hide"); }
  void Start_Window_Move(FrmAnalyse&) override { calls.push_back("move"); }
};

TEST(FrmAnalyse, WindowIsMovedByItsUncoveredStripOnly) {
  Unload_FrmAnalyse();
  FrmAnalyse& frm = Frm_Analyse();
  struct Case {
    float x, y;
    const Child_Control* expected;
  };
  const Case cases[] = {{100, 100, &frm.TxtAnalyse},  {8600, 100, &frm.CmdExit},
                        {8820, 320, &frm.Pic},        {4000, 5000, &frm.Lab},
                        {8499, 3790, &frm.TxtAnalyse}, {8700, 2000, nullptr},
                        {8505, 100, nullptr},
                        // Each box's right and bottom edges lie outside it.
                        {8500, 100, nullptr},         {100, 3810, &frm.Lab},
                        {8794, 100, &frm.CmdExit},    {8795, 100, &frm.Pic},
                        {8854, 339, &frm.Pic},        {8855, 100, nullptr},
                        {8700, 340, nullptr},         {8879, 5594, &frm.Lab},
                        {8880, 4000, nullptr}};
  for (const Case& c : cases) EXPECT_EQ(frm.Control_At(c.x, c.y), c.expected) << c.x << "," << c.y;
  Recording_Host host;
  frm.Form_MouseDown(host, 2, 0, 8700, 2000);
  EXPECT_EQ(host.calls, std::vector<std::string>{"move"});
  Unload_FrmAnalyse();
}
}  // namespace
