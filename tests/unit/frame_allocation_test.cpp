// Once running, a frame update takes no memory from the heap in any display mode and monitor
// mode, with the analysis's averaging, decay, smoothing, weighting and delay on, with or without
// the crosshair cursor and with the display fading. The headless port keeps a copy of every
// presented frame; that copy is counted alone and allowed for.
#include <gtest/gtest.h>

#include <string>

#include "alloc_counter.h"
#include "analysis/delay_line.h"
#include "app/my_class.h"
#include "cli/app_run.h"
#include "port/messages.h"
#include "state/state.h"
#include "ui/control_ids.h"

namespace {

TEST(FrameAllocation, NoDisplayModeAllocatesPerFrame) {
    cli::AppRun run;
    std::string error;
    ASSERT_TRUE(run.Start(720, 480, &error)) << error;
    headless::CaptureSource noise;
    noise.kind = headless::CaptureSource::Kind::DelayedPair;
    noise.delayFrames = 3;
    ASSERT_TRUE(run.UseSource(noise, 44100, &error)) << error;
    ASSERT_EQ(run.RunBlocks(captureFftSize / blockFrames + 1), 1);
    const alloc_counter::ScopedCount counting;
    const int setUp = alloc_counter::Counted();
    run.ChooseMode(kModeTransferLinear);
    run.SelectItem(kDelayCombo, 7); // 20 ms
    ASSERT_GT(alloc_counter::Counted(), setUp) << "the count sees the delay line's rings";

    constexpr int kFrames = 4;
    const int start = alloc_counter::Counted();
    for (int i = 0; i < kFrames; ++i)
        app.screen.Present();
    const int perPresent = (alloc_counter::Counted() - start) / kFrames;

    for (int cursor = 0; cursor < 2; ++cursor) {
        headless::SetCursor(300, 200);
        headless::SetKeyDown(VK_LBUTTON, cursor == 1);
        fadeDisplay = cursor;
        for (int32_t mode = kModeLinear; mode <= kModeWaveform; ++mode) {
            run.ChooseMode(mode);
            // The controls as set in this mode, since a change of mode resets some of them.
            run.SelectItem(kMonitorCombo, (mode + cursor) % kMonitorModeCount);
            run.SelectItem(kAverageCombo, 3);   // 8X
            run.SelectItem(kDecayCombo, 1);     // Fast
            run.SelectItem(kWeightingCombo, 1); // A
            if (IsTransferMode(mode)) {
                run.SelectItem(kSmoothingCombo, 2); // 5 bins
                run.SelectItem(kDelayCombo, 7);     // 20 ms
            }
            ASSERT_EQ(DelayLineActive(), IsTransferMode(mode));
            // The first frames of a mode may set up what it keeps (the spectrogram's image).
            ASSERT_EQ(run.RunBlocks(2), 2);
            int made = 0;
            for (int i = 0; i < kFrames; ++i) {
                run.CaptureBlock();
                const int before = alloc_counter::Counted();
                EXPECT_EQ(app.Frame(), 1);
                made += alloc_counter::Counted() - before;
            }
            EXPECT_EQ(made, kFrames * perPresent) << "mode " << mode << " monitor " << monitorMode
                                                  << (cursor ? " with the cursor" : "");
        }
    }
}

} // namespace
