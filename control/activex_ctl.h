// ActiveX_Ctl: the zodiac chart control. A host creates it with its platform, delivers the
// events (initialize, resize, mouse release on a sign label) and renders its state: the
// background picture, the drawing layer and the child controls in z-order. All controls on
// a thread share the body table and the analysis window; each has its own wheel variables,
// drawing layer and children.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "control/platform.h"
#include "render/chart.h"
#include "ui/child_control.h"

// Shown when opening the analysis window fails.
inline constexpr const char kAnalyseFailMessage[] =
    "أغلق النافذة المفتوحة مسبقاً أو أعد تحديث صفحة الويب";

class ActiveX_Ctl {
 public:
  // The programmatic identifier: library name, a dot, class name.
  static constexpr const char kProgId[] = "ActiveX_Prj.ActiveX_Ctl";

  // Loads the design-time layout; nothing is computed or drawn until UserControl_Initialize.
  explicit ActiveX_Ctl(Platform& platform);

  // Public methods: the chart on the wheel (ends with the aspects), and the aspect lines.
  void DrawThéme();
  void ShowAspects_Pln();

  // Host event: a mouse button released over sign label Index (0 Aries .. 11 Pisces). Fills
  // the analysis window with that sign's daily analysis and shows it. Any failure ends in
  // one message box (kAnalyseFailMessage); what was done before it stays. Button, Shift, X
  // and Y are ignored.
  void LabAnalyse_MouseUp(std::int16_t Index, int Button, int Shift, float X, float Y);

  // Host event, once at creation: reads the clock, computes the ten bodies now and one step
  // later with their retrograde flags, redraws, and puts the date into LabDate. A
  // FloatError ends it where it happens (then no date is shown) and reaches the host.
  void UserControl_Initialize();

  // Host event on every resize: redraws the chart from the body table (DrawThéme, then
  // ShowAspects_Pln once more). Reads no size and moves no child.
  void UserControl_Resize();

  // Keeps this control's own sky, for a control that shows a chosen instant: during each
  // event and method the shared table holds the longitudes and retrograde flags of its own
  // start-up, and afterwards the table is put back as it was, so the other controls on the
  // thread keep theirs. Off by default: the table then holds what the last start-up on the
  // thread wrote.
  void Keep_Own_Sky(bool on) { keep_own_sky_ = on; }

  // True when the time base refused the instant of the last start-up (a date of the 1582
  // calendar gap): the chart then shows the sky of the time left from before.
  bool Instant_Refused() const { return instant_refused_; }

  // Child controls, by name and index.
  std::array<Child_Control, 12> LabAnalyse;
  Child_Control LabDate;
  Child_Control ImgIcon;
  Child_Control Img;
  // The drawing layer, the wheel variables and the glyph images ImgPln(0..9).
  Chart_Surface Chart;

  // Every child, front to back: LabAnalyse 0..11, LabDate, ImgIcon, ImgPln 0..9, Img.
  std::vector<const Child_Control*> Children() const;

 private:
  struct Body_Sky {
    double Lon;
    std::int16_t Retro;
  };
  // Runs f, within Keep_Own_Sky's arrangement when it is on.
  template <class F>
  void With_Own_Sky(F&& f);

  Platform& platform_;
  bool keep_own_sky_ = false;
  bool has_own_sky_ = false;
  bool instant_refused_ = false;
  std::array<Body_Sky, 10> own_sky_{};
};
