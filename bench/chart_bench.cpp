// Speed of the redraw (a resize from a filled table) and of the SVG document of the chart.
#include <benchmark/benchmark.h>

#include <sstream>

#include "cli/chart_svg.h"
#include "cli/cli_platform.h"
#include "control/activex_ctl.h"

namespace {
const CivilTime kInstant{2020, 12, 21, 18, 0, 0};

void BM_Redraw(benchmark::State& state) {
  std::ostringstream err;
  Cli_Platform platform(kInstant, err);
  ActiveX_Ctl ctl(platform);
  ctl.UserControl_Initialize();
  for (auto _ : state) {
    ctl.UserControl_Resize();
    benchmark::DoNotOptimize(ctl.Chart.Layer.Items().data());
  }
}
BENCHMARK(BM_Redraw);

void BM_ChartSvg(benchmark::State& state) {
  std::ostringstream err;
  Cli_Platform platform(kInstant, err);
  ActiveX_Ctl ctl(platform);
  ctl.UserControl_Initialize();
  for (auto _ : state) {
    std::string svg = Chart_Svg(ctl);
    benchmark::DoNotOptimize(svg.data());
  }
}
BENCHMARK(BM_ChartSvg);
}  // namespace
