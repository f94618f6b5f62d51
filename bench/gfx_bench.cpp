// Drawing-surface throughput on a 1920 x 1080 surface: fills, fades, blends, every blit mode,
// lines and text. The frame budget is about 30 ms, and a full-surface fade or keyed blit should
// stay within 1.5 ms.
#include <benchmark/benchmark.h>

#include "gfx/font.h"
#include "gfx/screen.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A full-size surface with a pattern, and a full-size source half of which is key colour.
struct Surfaces {
    CDib target, source;
    Surfaces() {
        target.Create(kWidth, kHeight);
        source.Create(kWidth, kHeight);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                target.PutPixel(x, y, static_cast<uint16_t>((x * 7 + y * 13) & 0x7FFF));
                source.PutPixel(x, y, ((x >> 3) + y) & 1 ? 0 : static_cast<uint16_t>(x ^ y));
            }
        }
        source.SetColorKey(0);
        source.SetAlpha(160);
        target.m_PenColor = MakeColor(255, 255, 0);
    }
};

Surfaces& Shared() {
    static Surfaces s;
    return s;
}

void SetPixels(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kWidth) * kHeight);
}

void BM_Clear(benchmark::State& state) {
    CDib& t = Shared().target;
    for (auto _ : state) {
        t.Clear(0x1234);
        benchmark::ClobberMemory();
    }
    SetPixels(state);
}
BENCHMARK(BM_Clear)->Unit(benchmark::kMicrosecond);

void BM_FillRect(benchmark::State& state) {
    CDib& t = Shared().target;
    for (auto _ : state) {
        t.FillRect(0, 0, kWidth, kHeight, 0x4321);
        benchmark::ClobberMemory();
    }
    SetPixels(state);
}
BENCHMARK(BM_FillRect)->Unit(benchmark::kMicrosecond);

void BM_FadeRect(benchmark::State& state) {
    CDib& t = Shared().target;
    for (auto _ : state) {
        t.FadeRect(0, 0, kWidth, kHeight, 0.93f);
        benchmark::ClobberMemory();
    }
    SetPixels(state);
}
BENCHMARK(BM_FadeRect)->Unit(benchmark::kMicrosecond);

void BM_BlendRect(benchmark::State& state) {
    CDib& t = Shared().target;
    for (auto _ : state) {
        t.BlendRect(0, 0, kWidth, kHeight, 0x7FFF, 128);
        benchmark::ClobberMemory();
    }
    SetPixels(state);
}
BENCHMARK(BM_BlendRect)->Unit(benchmark::kMicrosecond);

void BM_Blit(benchmark::State& state) {
    Surfaces& s = Shared();
    const uint8_t mode = static_cast<uint8_t>(state.range(0));
    for (auto _ : state) {
        s.target.Blit(0, 0, kWidth, kHeight, s.source, 0, 0, mode);
        benchmark::ClobberMemory();
    }
    SetPixels(state);
}
BENCHMARK(BM_Blit)
    ->ArgName("mode")
    ->Arg(BLIT_COPY)
    ->Arg(BLIT_KEYED)
    ->Arg(BLIT_ALPHA)
    ->Arg(BLIT_KEYED_ALPHA)
    ->Arg(BLIT_SCREEN)
    ->Arg(BLIT_KEYED_SCREEN)
    ->Arg(BLIT_PEN)
    ->Unit(benchmark::kMicrosecond);

// 1000 lines across the surface in every direction, as a dense spectrum trace draws them.
void BM_Line(benchmark::State& state) {
    CDib& t = Shared().target;
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            const float x = static_cast<float>(i * 1.92f);
            t.Line(x, static_cast<float>((i * 37) % kHeight), x + 1.92f,
                   static_cast<float>((i * 53) % kHeight), 0x7FFF);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_Line)->Unit(benchmark::kMicrosecond);

// A full line of view labels per call, 40 lines down the surface, in the small and large fonts.
void BM_DrawText(benchmark::State& state) {
    CDib& t = Shared().target;
    Font font;
    font.LoadText(port::ProgramModule(), state.range(0) == 1 ? "FONT1" : "FONT3");
    const char* text = "-20 dB  100 Hz  1 kHz  10 kHz  Peak: 997.3 Hz  SPL 94.0 dB(A)";
    for (auto _ : state) {
        for (int row = 0; row < 40; ++row)
            font.DrawText(t, 10, row * 26, text, 0x7FFF, BLIT_PEN);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 40);
}
BENCHMARK(BM_DrawText)->ArgName("font")->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

} // namespace
