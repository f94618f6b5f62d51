// Cost of rebuilding the analysis set-up, paid on every change of sample rate or FFT size.
#include <benchmark/benchmark.h>

#include "analysis/analysis_setup.h"
#include "state/state.h"

namespace {

void BM_AnalyseInit(benchmark::State& state) {
    ResetAnalyzerState();
    const int32_t size = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        AnalyseInit(44100, size);
        benchmark::DoNotOptimize(windowTable);
        AnalyseFree();
    }
}
BENCHMARK(BM_AnalyseInit)->RangeMultiplier(2)->Range(2048, 32768)->Unit(benchmark::kMicrosecond);

} // namespace
