// The control's platform on this machine, for the native hosts' renderings: a clock fixed at
// the chosen instant, the date text in the process's locale and local time zone, message boxes
// written to a stream, and an analysis window that is shown (into the rendering) without
// blocking.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "control/platform.h"

class Native_Platform : public Platform {
 public:
  // utc: the instant the control's clock reads; messages go to err.
  Native_Platform(const CivilTime& utc, std::ostream& err) : utc_(utc), err_(err) {}

  CivilTime Clock_Utc() override { return utc_; }
  // The instant in local time, as strftime's "%x %X" (short date, long time) of LC_TIME with
  // the year in full; before 1582-10-15 the Julian calendar's date, marked "(يولياني)".
  std::string Date_Text() override;
  void Message_Box(std::string_view text, int style) override;
  Show_Result Show_Modal(FrmAnalyse&) override { return Show_Result::Shown; }
  void Hide(FrmAnalyse&) override {}
  void Start_Window_Move(FrmAnalyse&) override {}

 private:
  CivilTime utc_;
  std::ostream& err_;
};
