// Rendering the started control to SVG.
#include "cli/render_command.h"

#include <stdexcept>

#include "cli/cli_platform.h"
#include "control/activex_ctl.h"
#include "control/chart_markup.h"
#include "render/chart_svg.h"
#include "ui/frm_analyse.h"

Outcome Render_Chart(std::string_view instant, int analysis_sign, std::string& svg,
                     std::ostream& messages) {
  // Each rendering is a fresh page: the thread's analysis window starts unloaded.
  Unload_FrmAnalyse();
  const Outcome outcome = Run_At_Instant(instant, [&](const CivilTime& utc) {
    Cli_Platform platform(utc, messages);
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

namespace {
template <class Write>
Outcome Started_Chart(std::string_view instant, std::ostream& messages, Write&& write) {
  Unload_FrmAnalyse();
  const Outcome outcome = Run_At_Instant(instant, [&](const CivilTime& utc) {
    Cli_Platform platform(utc, messages);
    ActiveX_Ctl ctl(platform);
    ctl.UserControl_Initialize();
    write(ctl, utc);
  });
  Unload_FrmAnalyse();
  return outcome;
}
}  // namespace

Outcome Render_Chart_Html(std::string_view instant, std::string_view at, std::string_view base,
                          std::string& html, std::ostream& messages) {
  return Started_Chart(instant, messages, [&](const ActiveX_Ctl& ctl, const CivilTime& utc) {
    html = Chart_Markup(ctl, utc, at, base);
  });
}

Outcome Render_Shadow_Root(std::string_view instant, std::string_view base, std::string& html,
                           std::ostream& messages) {
  return Started_Chart(instant, messages, [&](const ActiveX_Ctl& ctl, const CivilTime& utc) {
    html = Chart_Shadow_Root(ctl, utc, base);
  });
}
