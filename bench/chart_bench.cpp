// Speed of the redraw (a resize from a filled table) and of the SVG document of the chart.
#include <benchmark/benchmark.h>

#include <sstream>

#include "control/activex_ctl.h"
#include "render/chart_svg.h"
#include "service/native_platform.h"

namespace {
// A control started up for 2020-12-21 18:00 UTC on the native platform.
struct Started_Control {
  std::ostringstream err;
  Native_Platform platform{{2020, 12, 21, 18, 0, 0}, err};
  ActiveX_Ctl ctl{platform};
  Started_Control() { ctl.UserControl_Initialize(); }
};

void BM_Redraw(benchmark::State& state) {
  Started_Control started;
  ActiveX_Ctl& ctl = started.ctl;
  for (auto _ : state) {
    ctl.UserControl_Resize();
    benchmark::DoNotOptimize(ctl.Chart.Layer.Items().data());
  }
}
BENCHMARK(BM_Redraw);

void BM_ChartSvg(benchmark::State& state) {
  Started_Control started;
  for (auto _ : state) {
    const ActiveX_Ctl& ctl = started.ctl;
    std::string svg = Chart_Svg({ActiveX_Ctl::kProgId, ctl.Chart.Layer, ctl.Children()});
    benchmark::DoNotOptimize(svg.data());
  }
}
BENCHMARK(BM_ChartSvg);
}  // namespace
