// Rendering the started control to SVG.
#include "cli/render.h"

#include <stdexcept>

#include "analysis/frm_analyse.h"
#include "cli/chart_svg.h"
#include "cli/cli_platform.h"
#include "control/activex_ctl.h"

Outcome Render_Chart(std::string_view instant, int analysis_sign, std::string& svg,
                     std::ostream& messages) {
  CivilTime utc;
  if (Outcome read = Read_Instant(instant, utc); read.status != kExitOk) return read;

  bool accepted = true;
  // Each rendering is a fresh page: the thread's analysis window starts unloaded.
  Unload_FrmAnalyse();
  const Outcome outcome = Run_Guarded([&] {
    // A UTC reading that a zone offset moved into the gap is refused here, not charted.
    accepted = Calc_Time(utc);
    if (!accepted) return;
    Cli_Platform platform(utc, messages);
    ActiveX_Ctl ctl(platform);
    ctl.UserControl_Initialize();
    const FrmAnalyse* window = nullptr;
    if (analysis_sign >= 0) {
      ctl.LabAnalyse_MouseUp(static_cast<std::int16_t>(analysis_sign), 1, 0, 0, 0);
      window = Loaded_FrmAnalyse();
      if (!window || !window->Shown()) throw std::runtime_error("the analysis window did not open");
    }
    svg = Chart_Svg(ctl, window);
  });
  Unload_FrmAnalyse();
  if (outcome.status == kExitOk && !accepted) return {kExitCalendarGap, kCalendarGapMessage};
  return outcome;
}
