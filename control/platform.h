// The small platform layer the control talks to: what it cannot own itself. Hosts (the
// command line, the web page, the tests) implement it; the control never touches a real
// window system.
#pragma once

#include <string>
#include <string_view>

#include "ephemeris/time_base.h"
#include "ui/frm_analyse.h"

// Message box style: the stop (critical) icon with a single OK button.
inline constexpr int kStopIconOk = 16;

class Platform : public Window_Platform {
 public:
  // The present instant, read from the clock as a universal-time reading.
  virtual CivilTime Clock_Utc() = 0;
  // The present local date and time as text in the user's general date format (short date
  // followed by long time), read from the clock again.
  virtual std::string Date_Text() = 0;
  // A modal message box with the text and the style (kStopIconOk), no title; returns when
  // the user has closed it, or at once on a host that cannot block.
  virtual void Message_Box(std::string_view text, int style) = 0;
};
