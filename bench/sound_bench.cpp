// Cost of the engine thread's work per buffer: mixing one 2352-frame block (53 ms of sound at
// 44100 Hz) from eight voices, and proof that it allocates nothing.
#include <benchmark/benchmark.h>

#include <vector>

#include "alloc_counter.h"
#include "port/headless/headless_wave_out.h"
#include "sound/sound.h"

namespace {

// state.range(0): 0 mono, 1 stereo.
void BM_MixBlockEightVoices(benchmark::State& state) {
    headless::SetWaveOutPacing(headless::WaveOutPacing::Manual);
    const alloc_counter::ScopedCount counting;
    Sound engine;
    const long beforeOpen = alloc_counter::Counted();
    if (!engine.Open(44100, static_cast<int>(state.range(0)))) {
        state.SkipWithError("the engine did not open");
        return;
    }
    if (alloc_counter::Counted() == beforeOpen) {
        state.SkipWithError("the count does not see the engine's buffers");
        return;
    }
    std::vector<uint8_t> sample(262144);
    for (std::size_t i = 0; i < sample.size(); ++i)
        sample[i] = static_cast<uint8_t>(128 + (i * 7919 % 101) - 50);
    // Equal, half and odd rates; all loop, so that eight voices play in every iteration.
    const uint32_t rates[8] = {44100, 22050, 48000, 11025, 44100, 32000, 96000, 44100};
    for (int v = 0; v < 8; ++v) {
        const SoundFX fx{sample.data(), rates[v], static_cast<uint32_t>(sample.size()), 64, 1};
        engine.PlaySample(fx);
    }
    std::vector<uint8_t> out(engine.MixBlockFrames() * 2);
    const long before = alloc_counter::Counted();
    for (auto _ : state) {
        std::lock_guard<std::mutex> guard(engine.VoiceLock());
        engine.MixBlock(out.data());
        benchmark::DoNotOptimize(out.data());
    }
    const long allocated = alloc_counter::Counted() - before;
    state.counters["allocations"] = static_cast<double>(allocated);
    state.SetItemsProcessed(state.iterations() * engine.MixBlockFrames());
    if (allocated != 0)
        state.SkipWithError("the mixer allocated");
    engine.Close();
    headless::RestoreWaveOutDefaults();
}
BENCHMARK(BM_MixBlockEightVoices)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
