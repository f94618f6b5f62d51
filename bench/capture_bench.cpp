// Cost of moving one capture block through the ring: the worker's copy of a completed 8192-byte
// device buffer into the ring plus the reader's copy out, and Read on a live capture thread
// over the headless device.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "audio/wave_in_thread.h"
#include "port/headless/headless.h"

namespace {

constexpr uint32_t kBlockBytes = 8192;
constexpr uint32_t kRingBytes = 4 * kBlockBytes;

// Write and read offsets step by a block and a few bytes, so that some cycles wrap.
void BM_RingCopyCycle(benchmark::State& state) {
    std::vector<uint8_t> ring(kRingBytes + kBlockBytes);
    std::vector<uint8_t> device(kBlockBytes, 0x5A);
    std::vector<uint8_t> reader(kBlockBytes);
    uint32_t at = 0;
    for (auto _ : state) {
        RingWrite(ring.data(), kRingBytes, at, device.data(), kBlockBytes, kBlockBytes);
        RingRead(ring.data(), kRingBytes, at, reader.data(), kBlockBytes);
        benchmark::DoNotOptimize(reader.data());
        benchmark::ClobberMemory();
        at = (at + kBlockBytes + 12) % kRingBytes;
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 2 * kBlockBytes);
}
BENCHMARK(BM_RingCopyCycle);

// Read of one block (lock, two-piece copy, bookkeeping) from a running capture; the refill by
// the worker is not timed.
void BM_ReadBlock(benchmark::State& state) {
    headless::ResetCapture();
    headless::UseRealClock(false);
    headless::SetTime(0);
    CWaveInThread capture;
    // 44100 Hz stereo, 2048-frame blocks: 8192 bytes, 46.4 ms each.
    if (!capture.Configure(nullptr, 2, 4, kBlockBytes, 2, 44100, 16) || !capture.Start()) {
        state.SkipWithError("capture did not start");
        return;
    }
    std::vector<uint8_t> block(kBlockBytes);
    uint32_t elapsedMs = 0;
    int64_t blocks = 0;
    for (auto _ : state) {
        state.PauseTiming();
        elapsedMs += 140; // three blocks more
        headless::SetTime(elapsedMs);
        headless::WaitCaptureIdle();
        state.ResumeTiming();
        while (capture.Read(block.data(), kBlockBytes)) {
            benchmark::DoNotOptimize(block.data());
            ++blocks;
        }
    }
    capture.Stop();
    headless::ResetCapture();
    // Items are blocks: the time per item is the cost of one Read.
    state.SetItemsProcessed(blocks);
    state.SetBytesProcessed(blocks * kBlockBytes);
}
BENCHMARK(BM_ReadBlock)->Iterations(100)->Unit(benchmark::kMicrosecond);

} // namespace
