// Speed of the start-up computation: both passes and the retrograde rule, and one pass of
// each body routine.
#include <benchmark/benchmark.h>

#include "control/startup.h"
#include "ephemeris/shared_state.h"
#include "ephemeris/time_base.h"

namespace {
constexpr double kT2026 = 1.269;  // early 2026, in Julian centuries from 1900

void BM_Startup(benchmark::State& state) {
  const CivilTime t{2026, 12, 8, 14, 30, 0};
  for (auto _ : state) {
    Calc_Time(t);
    Compute_Positions();
    benchmark::DoNotOptimize(Pln_Rec);
  }
}
BENCHMARK(BM_Startup);

void BM_Body(benchmark::State& state) {
  JulianCenturies = kT2026;
  Calc_Sun();
  const BodyRoutine routine = kBodyRoutines[state.range(0)];
  for (auto _ : state) {
    routine();
    benchmark::DoNotOptimize(Pln_Lon);
  }
}
BENCHMARK(BM_Body)->DenseRange(0, 9)->ArgName("body");
}  // namespace

BENCHMARK_MAIN();
