// Cost of one frame update (Frame) of the running analyzer in every display mode, at the
// program's initial 720 x 480 and at 1920 x 1080, with stereo noise analysed at N = 32768 and
// 44100 Hz. Each frame is timed alone (the capture thread's delivery of the block is not); the
// counter median_ms is the median over the frames.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "running_app.h"

namespace {

// Arguments: display mode, view width, view height.
void BM_Frame(benchmark::State& state) {
    const int32_t mode = static_cast<int32_t>(state.range(0));
    running_app::RunningApp run;
    headless::CaptureSource noise;
    noise.kind = headless::CaptureSource::Kind::DelayedPair;
    noise.level = 0.3;
    noise.delayFrames = 7;
    run.Start(noise, static_cast<int>(state.range(1)), static_cast<int>(state.range(2)), 44100,
              32768);
    running_app::ChooseMode(mode, true);
    if (!run.StepUntilDrawn()) {
        state.SkipWithError("the analyzer drew no frame");
        run.Stop();
        return;
    }
    std::vector<double> ms;
    ms.reserve(1 << 16);
    for (auto _ : state) {
        run.NextBlock();
        const auto start = std::chrono::steady_clock::now();
        const int drawn = app.Frame();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (!drawn) {
            state.SkipWithError("a frame found no block");
            break;
        }
        state.SetIterationTime(took.count());
        ms.push_back(took.count() * 1000.0);
    }
    run.Stop();
    if (!ms.empty()) {
        std::nth_element(ms.begin(), ms.begin() + ms.size() / 2, ms.end());
        state.counters["median_ms"] = ms[ms.size() / 2];
    }
}

void FrameCases(benchmark::internal::Benchmark* b) {
    b->ArgNames({"mode", "w", "h"});
    for (int64_t mode = kModeLinear; mode <= kModeWaveform; ++mode) {
        b->Args({mode, 720, 480});
        b->Args({mode, 1920, 1080});
    }
}
BENCHMARK(BM_Frame)
    ->Apply(FrameCases)
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond);

} // namespace
