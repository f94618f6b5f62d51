// Cost of drawing the menus: one capsule button, and a whole nine-item panel shown on a full-HD
// view (the screen copies, the panel, the capsules and the labels, without the animation).
#include <benchmark/benchmark.h>

#include "gfx/menu.h"
#include "gfx/shapes.h"
#include "port/headless/headless.h"

namespace {

void BM_DrawPill(benchmark::State& state) {
    CDib screen;
    screen.Create(1920, 1080);
    screen.Clear(MakeColor(0, 0, 64));
    const int r = static_cast<int>(state.range(0)) / 2;
    for (auto _ : state) {
        DrawPill(screen, 900, 500, r, 160 - 2 * r);
        benchmark::DoNotOptimize(screen.m_Bits);
    }
}
BENCHMARK(BM_DrawPill)->Arg(19)->Arg(21)->Unit(benchmark::kMicrosecond);

void BM_MenuPanelNineItems(benchmark::State& state) {
    int window = 0;
    CScreen screen;
    screen.Create(&window);
    screen.CDib::Create(1920, 1080);
    screen.Clear(MakeColor(0, 0, 64));
    buttonFont.LoadText(port::ProgramModule(), "BUTTONFONT");
    Menu menu;
    const char* items = "01Sample Rate: 44Khz,02FFT Size: 8K,03Resolution: 5.4Hz,04Time: 186ms,"
                        "05Averaging (4x),06Decay: Slow,07Window: Hann,08Reset Peaks,09Exit";
    for (auto _ : state) {
        // No input is queued: the menu is drawn, presented and dismissed at once.
        menu.Run(screen, "FFT Setting", items, MenuChoose);
        port::Message quit;
        while (port::PeekOwnMessage(&quit)) {
        }
    }
}
BENCHMARK(BM_MenuPanelNineItems)->Unit(benchmark::kMillisecond);

} // namespace
