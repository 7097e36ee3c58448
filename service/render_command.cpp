// Rendering the started control to SVG, and to the pictures made from that SVG.
#include "service/render_command.h"

#include <sstream>
#include <stdexcept>

#include "control/activex_ctl.h"
#include "control/chart_markup.h"
#include "picture/picture.h"
#include "render/chart_svg.h"
#include "service/native_platform.h"
#include "ui/frm_analyse.h"

namespace {
// The chart's SVG at the instant (with sign's window when sign >= 0; without the background
// for the pictures, which paint it from their cache); the window's text (the
// analysis as the window holds it) into analysis when it is given. Runs on the caller's
// thread with a fresh page, guarded as Run_At_Instant.
Outcome Render(std::string_view instant, int sign, bool window_in_svg, bool background,
               std::string& svg, std::string* analysis, std::ostream& messages) {
  // Each rendering is a fresh page: the thread's analysis window starts unloaded.
  Unload_FrmAnalyse();
  const Outcome outcome = Run_At_Instant(instant, [&](const CivilTime& utc) {
    Native_Platform platform(utc, messages);
    ActiveX_Ctl ctl(platform);
    ctl.UserControl_Initialize();
    const FrmAnalyse* window = nullptr;
    if (sign >= 0) {
      ctl.LabAnalyse_MouseUp(static_cast<std::int16_t>(sign), 1, 0, 0, 0);
      window = Loaded_FrmAnalyse();
      if (!window || !window->Shown()) throw std::runtime_error("the analysis window did not open");
      if (analysis) *analysis = window->TxtAnalyse.Caption;
    }
    svg = Chart_Svg({ActiveX_Ctl::kProgId, ctl.Chart.Layer, ctl.Children()},
                    window_in_svg ? window : nullptr,
                    background ? Svg_Use::Document : Svg_Use::For_Picture);
  });
  Unload_FrmAnalyse();
  return outcome;
}

// The window's text split for a card: its first line the sign's caption, each further line
// that is not blank a sentence.
Card_Text Card_Text_Of(std::string_view analysis) {
  Card_Text text;
  while (!analysis.empty()) {
    const std::size_t end = analysis.find('\n');
    std::string_view line = analysis.substr(0, end);
    analysis.remove_prefix(end == std::string_view::npos ? analysis.size() : end + 1);
    if (line.find_first_not_of(" \r") == std::string_view::npos) continue;
    if (text.caption.empty())
      text.caption = std::string(line);
    else
      text.sentences.emplace_back(line);
  }
  return text;
}
// A started chart at the instant, handed to write with the UTC reading its clock gave.
template <class Write>
Outcome Started_Chart(std::string_view instant, std::ostream& messages, Write&& write) {
  Unload_FrmAnalyse();
  const Outcome outcome = Run_At_Instant(instant, [&](const CivilTime& utc) {
    Native_Platform platform(utc, messages);
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

Outcome Render_Chart(std::string_view instant, int analysis_sign, std::string& svg,
                     std::ostream& messages) {
  std::string made;
  const Outcome outcome = Render(instant, analysis_sign, true, true, made, nullptr, messages);
  if (outcome.Ok()) svg = std::move(made);
  return outcome;
}

Outcome Chart_Png_Source(std::string_view instant, int analysis_sign, Picture_Source& source) {
  Picture_Source made;
  std::ostringstream messages;
  const Outcome outcome = Render(instant, analysis_sign, true, false, made.svg, nullptr, messages);
  if (outcome.Ok()) source = std::move(made);
  return outcome;
}

Outcome Card_Source(std::string_view instant, int sign, Picture_Source& source) {
  Picture_Source made;
  std::ostringstream messages;
  const Outcome outcome = Render(instant, sign, false, false, made.svg, &made.analysis, messages);
  if (outcome.Ok()) source = std::move(made);
  return outcome;
}

Outcome Draw_Picture(const Picture_Source& source, int scale, bool card, std::string& png) {
  if (!card && (scale < kMinScale || scale > kMaxScale))
    return {Service_Status::Bad_Input, "the scale must be a whole number from 1 to 4"};
  std::string made;
  const Outcome outcome = Run_Guarded([&] {
    made = card ? Card_Png(source.svg, Card_Text_Of(source.analysis)) : Chart_Png(source.svg, scale);
  });
  if (outcome.Ok()) png = std::move(made);
  return outcome;
}

Outcome Render_Png(std::string_view instant, int analysis_sign, int scale, std::string& png,
                   std::ostream& messages) {
  if (scale < kMinScale || scale > kMaxScale)
    return {Service_Status::Bad_Input, "the scale must be a whole number from 1 to 4"};
  Picture_Source source;
  const Outcome outcome = Render(instant, analysis_sign, true, false, source.svg, nullptr, messages);
  return outcome.Ok() ? Draw_Picture(source, scale, false, png) : outcome;
}

Outcome Render_Card(std::string_view instant, int sign, std::string& png, std::ostream& messages) {
  Picture_Source source;
  const Outcome outcome =
      Render(instant, sign, false, false, source.svg, &source.analysis, messages);
  return outcome.Ok() ? Draw_Picture(source, 1, true, png) : outcome;
}
