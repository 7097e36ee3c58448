// A platform that records what the control asks of it, with a fixed clock. As a host that
// cannot block, it returns from a modal show at once and reports the window shown; an
// optional hook runs inside the show, as events arriving during a modal loop would.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "control/platform.h"

class RecordingPlatform : public Platform {
 public:
  CivilTime clock{2000, 1, 1, 12, 0, 0};
  std::string date_text = "01/01/2000 12:00:00";
  Show_Result show_result = Show_Result::Shown;
  std::function<void(FrmAnalyse&)> during_show;  // runs inside Show_Modal when set

  std::vector<std::pair<std::string, int>> message_boxes;  // text, style
  std::vector<std::string> calls;                          // "show", "hide", "move", ...

  CivilTime Clock_Utc() override {
    calls.push_back("clock");
    return clock;
  }
  std::string Date_Text() override {
    calls.push_back("date");
    return date_text;
  }
  void Message_Box(std::string_view text, int style) override {
    message_boxes.emplace_back(std::string(text), style);
  }
  Show_Result Show_Modal(FrmAnalyse& frm) override {
    calls.push_back("show");
    if (during_show) during_show(frm);
    return show_result;
  }
  void Hide(FrmAnalyse&) override { calls.push_back("hide"); }
  void Start_Window_Move(FrmAnalyse&) override { calls.push_back("move"); }
};
