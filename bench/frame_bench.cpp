// Cost of one frame update (Frame) of the running analyzer in every display mode, at the
// program's initial 720 x 480 and at 1920 x 1080, with stereo noise analysed at N = 32768 and
// 44100 Hz. Each frame is timed alone (the capture thread's delivery of the block is not), by
// the CPU time of the calling thread, so that other work on a shared machine does not count;
// the counters are the medians over the frames of that time and of the elapsed time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>
#include <vector>

#include "app/my_class.h"
#include "cli/app_run.h"
#include "state/state.h"
#include "ui/control_ids.h"

namespace {

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

double Median(std::vector<double>& v) {
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

// Arguments: display mode, view width, view height.
void BM_Frame(benchmark::State& state) {
    const int32_t mode = static_cast<int32_t>(state.range(0));
    cli::AppRun run;
    headless::CaptureSource noise;
    noise.kind = headless::CaptureSource::Kind::DelayedPair;
    noise.level = 0.3;
    noise.delayFrames = 7;
    std::string error;
    if (!run.Start(static_cast<int>(state.range(1)), static_cast<int>(state.range(2)), &error) ||
        !run.ChangeFftSize(32768, &error) || !run.UseSource(noise, 44100, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    run.ChooseMode(mode);
    run.SelectItem(kMonitorCombo, kMonitorStereo);
    if (run.RunBlocks(captureFftSize / blockFrames + 1) != 1) {
        state.SkipWithError("the analyzer drew no frame");
        return;
    }
    std::vector<double> cpuMs, wallMs;
    cpuMs.reserve(1 << 16);
    wallMs.reserve(1 << 16);
    for (auto _ : state) {
        run.CaptureBlock();
        const double cpuStart = ThreadCpuSeconds();
        const auto wallStart = std::chrono::steady_clock::now();
        const int drawn = app.Frame();
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallStart;
        const double cpu = ThreadCpuSeconds() - cpuStart;
        if (!drawn) {
            state.SkipWithError("a frame found no block");
            break;
        }
        state.SetIterationTime(cpu);
        cpuMs.push_back(cpu * 1000.0);
        wallMs.push_back(wall.count() * 1000.0);
    }
    if (!cpuMs.empty()) {
        state.counters["median_ms"] = Median(cpuMs);
        state.counters["wall_median_ms"] = Median(wallMs);
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
