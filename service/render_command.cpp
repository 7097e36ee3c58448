// Rendering the started control to SVG.
#include "service/render_command.h"

#include <stdexcept>

#include "control/activex_ctl.h"
#include "render/chart_svg.h"
#include "service/native_platform.h"
#include "ui/frm_analyse.h"

Outcome Render_Chart(std::string_view instant, int analysis_sign, std::string& svg,
                     std::ostream& messages) {
  // Each rendering is a fresh page: the thread's analysis window starts unloaded.
  Unload_FrmAnalyse();
  const Outcome outcome = Run_At_Instant(instant, [&](const CivilTime& utc) {
    Native_Platform platform(utc, messages);
    ActiveX_Ctl ctl(platform);
    ctl.UserControl_Initialize();
    const FrmAnalyse* window = nullptr;
    if (analysis_sign >= 0) {
      ctl.LabAnalyse_MouseUp(static_cast<std::int16_t>(analysis_sign), 1, 0, 0, 0);
      window = Loaded_FrmAnalyse();
      if (!window || !window->Shown()) throw std::runtime_error("the analysis window did not open");
    }
    svg = Chart_Svg({ActiveX_Ctl::kProgId, ctl.Chart.Layer, ctl.Children()}, window);
  });
  Unload_FrmAnalyse();
  return outcome;
}
