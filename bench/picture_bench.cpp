// Speed of the pictures in-process, fonts loaded once (by the first iteration's warm-up): the
// chart as a 1x PNG, the same with the analysis window, and the social card; each from the
// instant, so the figure is what a server's picture worker spends per uncached request.
#include <benchmark/benchmark.h>

#include "service/render_command.h"

namespace {
constexpr const char kInstant[] = "2020-12-21T18:00Z";

void Run(benchmark::State& state, int sign, bool card) {
  Picture_Source source;
  std::string png;
  // Warm-up: fontconfig's cache, the fonts and librsvg's state, as a worker has them.
  if (!(card ? Card_Source(kInstant, sign, source) : Chart_Png_Source(kInstant, sign, source)).Ok())
    state.SkipWithError("no source");
  Draw_Picture(source, 1, card, png);
  for (auto _ : state) {
    const Outcome o = card ? Card_Source(kInstant, sign, source) : Chart_Png_Source(kInstant, sign, source);
    if (!o.Ok() || !Draw_Picture(source, 1, card, png).Ok()) state.SkipWithError("failed");
    benchmark::DoNotOptimize(png.data());
  }
  state.counters["png_bytes"] = static_cast<double>(png.size());
}

void BM_ChartPng1x(benchmark::State& state) { Run(state, -1, false); }
void BM_ChartPngWithWindow1x(benchmark::State& state) { Run(state, 4, false); }
void BM_Card(benchmark::State& state) { Run(state, 4, true); }
BENCHMARK(BM_ChartPng1x)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartPngWithWindow1x)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Card)->Unit(benchmark::kMillisecond);
}  // namespace
