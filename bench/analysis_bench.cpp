// Cost of one frame's analysis (Analyse) per FFT size: mono and stereo spectra and the stereo
// transfer analysis with its phase, each with and without smoothing, stereo also with a delay.
#include <benchmark/benchmark.h>

#include <random>

#include "analysis/analysis_setup.h"
#include "analysis/delay_line.h"
#include "analysis/spectrum.h"
#include "state/state.h"

namespace {

enum Kind { kMono = 0, kStereo = 1, kTransfer = 2 };

// Arguments: FFT size, Kind, smoothing width, delay (0 or 1 for 10 ms on the second channel).
void BM_Analyse(benchmark::State& state) {
    ResetAnalyzerState();
    const int32_t size = static_cast<int32_t>(state.range(0));
    const int kind = static_cast<int>(state.range(1));
    displayMode = kind == kTransfer ? kModeTransferLinear : kModeLinear;
    delayMs = state.range(3) ? 10.0 : 0.0;
    if (!AnalyseInit(44100, size)) {
        state.SkipWithError("analysis set-up failed");
        return;
    }
    monitorMode = kind == kMono ? kMonitorMono : kMonitorStereo;
    liveChannelCount = kind == kMono ? 1 : 2;
    smoothingBins = static_cast<int32_t>(state.range(2));
    averaging = 4;
    decayRate = 20;
    frameRate = 30;

    std::mt19937 random(99);
    std::uniform_int_distribution<int> sample(-20000, 20000);
    for (int32_t i = 0; i < 2 * size; ++i)
        sampleWindow[i] = static_cast<int16_t>(sample(random));
    for (auto _ : state) {
        Analyse(sampleWindow);
        benchmark::ClobberMemory();
    }
    AnalyseFree();
    delayLine.Free();
}

void AnalyseCases(benchmark::internal::Benchmark* b) {
    b->ArgNames({"n", "kind", "smooth", "delay"});
    for (int64_t n = 2048; n <= 32768; n *= 2) {
        for (int64_t smooth : {0, 9}) {
            b->Args({n, kMono, smooth, 0});
            for (int64_t kind : {kStereo, kTransfer})
                for (int64_t delay : {0, 1})
                    b->Args({n, kind, smooth, delay});
        }
    }
}
BENCHMARK(BM_Analyse)->Apply(AnalyseCases)->Unit(benchmark::kMicrosecond);

} // namespace
