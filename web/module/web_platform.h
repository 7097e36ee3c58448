// The platform of one chart control on a web page: the clock, the date text, the message box
// and the analysis window all go to the page's script for the element that owns the control.
#pragma once

#include <optional>
#include <string>

#include "control/platform.h"

class Web_Platform : public Platform {
 public:
  // element: the number the page gave the control (1 or more).
  explicit Web_Platform(int element) : element_(element) {}

  // From now on the clock reads this UTC instant instead of the browser's clock, and the
  // date text shows it.
  void Fix_Instant(const CivilTime& utc) { fixed_ = utc; }

  CivilTime Clock_Utc() override;
  // The instant the clock last read (the fixed one, or the page's clock at that call).
  const CivilTime& Last_Reading() const { return last_; }
  std::string Date_Text() override;
  void Message_Box(std::string_view text, int style) override;
  Show_Result Show_Modal(FrmAnalyse& frm) override;
  void Hide(FrmAnalyse& frm) override;
  void Start_Window_Move(FrmAnalyse& frm) override;

 private:
  int element_;
  std::optional<CivilTime> fixed_;
  CivilTime last_;
};

// The page's own window host, for the events of the shared analysis window (its close button
// and its background), whichever control opened it.
Window_Platform& Page_Window_Host();
