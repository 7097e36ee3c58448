// The web platform: each call goes to the page's script (host_library.js).
#include "web/module/web_platform.h"

#include <cmath>

#include "control/instant.h"
#include "render/css_style.h"
#include "web/module/host_imports.h"

namespace {
std::string Text_From_Host(int element, double unix_ms) {
  char buf[256];
  buf[0] = '\0';
  zc_host_date_text(element, unix_ms, buf, sizeof buf);
  return buf;
}

class Page_Host final : public Window_Platform {
 public:
  Show_Result Show_Modal(FrmAnalyse&) override {
    return zc_host_show_window(0) ? Show_Result::Shown : Show_Result::Refused;
  }
  void Hide(FrmAnalyse&) override { zc_host_hide_window(0); }
  // Presses on the window come through zc_window_press, whose own host answers this.
  void Start_Window_Move(FrmAnalyse&) override {}
};
}  // namespace

CivilTime Web_Platform::Clock_Utc() {
  if (fixed_) return last_ = *fixed_;
  int v[6] = {2000, 1, 1, 0, 0, 0};
  zc_host_clock(element_, v);
  return last_ = {v[0], v[1], v[2], v[3], v[4], v[5]};
}

std::string Web_Platform::Date_Text() {
  return Text_From_Host(element_, fixed_ ? Unix_Seconds(*fixed_) * 1000.0 : std::nan(""));
}

void Web_Platform::Message_Box(std::string_view text, int style) {
  const std::string s(text);
  const std::string font(Message_Font_Stack());
  zc_host_message_box(element_, s.c_str(), style == kStopIconOk ? "stop" : "", font.c_str());
}

// A page cannot block: the call returns with the window shown, and the page opens it once
// the event that showed it has been handled.
Window_Platform::Show_Result Web_Platform::Show_Modal(FrmAnalyse&) {
  return zc_host_show_window(element_) ? Show_Result::Shown : Show_Result::Refused;
}

void Web_Platform::Hide(FrmAnalyse&) { zc_host_hide_window(element_); }

// Presses on the window come through zc_window_press, whose own host answers this.
void Web_Platform::Start_Window_Move(FrmAnalyse&) {}

Window_Platform& Page_Window_Host() {
  static Page_Host host;
  return host;
}
