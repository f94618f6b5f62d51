// Once running, a frame update takes no memory from the heap in any display mode, with or
// without the crosshair cursor and with the display fading. The headless port keeps a copy of
// every presented frame; that copy is counted alone and allowed for.
#include <gtest/gtest.h>

#include "alloc_counter.h"
#include "port/messages.h"
#include "running_app.h"
#include "scratch_dir.h"

namespace {

class FrameAllocation : public ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        headless::ResetCapture();
    }
    void TearDown() override {
        headless::SetKeyDown(VK_LBUTTON, false);
        headless::SetFocusWindow(nullptr);
        run.Stop();
        ScratchDirTest::TearDown();
    }
    // Allocations made by count frame updates (each finding a new block).
    int FramesAllocate(int count) {
        int made = 0;
        for (int i = 0; i < count; ++i) {
            run.NextBlock();
            const int before = alloc_counter::Counted();
            EXPECT_EQ(app.Frame(), 1);
            made += alloc_counter::Counted() - before;
        }
        return made;
    }
    running_app::RunningApp run;
};

TEST_F(FrameAllocation, NoDisplayModeAllocatesPerFrame) {
    headless::CaptureSource noise;
    noise.kind = headless::CaptureSource::Kind::DelayedPair;
    noise.delayFrames = 3;
    run.Start(noise, 720, 480, 44100, 8192);
    ASSERT_TRUE(run.StepUntilDrawn());
    const alloc_counter::ScopedCount counting;

    constexpr int kFrames = 4;
    const int start = alloc_counter::Counted();
    for (int i = 0; i < kFrames; ++i)
        app.screen.Present();
    const int perPresent = (alloc_counter::Counted() - start) / kFrames;

    for (int cursor = 0; cursor < 2; ++cursor) {
        headless::SetFocusWindow(running_app::kView);
        headless::SetCursor(300, 200);
        headless::SetKeyDown(VK_LBUTTON, cursor == 1);
        fadeDisplay = cursor;
        for (int32_t mode = kModeLinear; mode <= kModeWaveform; ++mode) {
            running_app::ChooseMode(mode, true);
            if (mode == kModeSpl)
                weighting = kWeightingA;
            // The first frames of a mode may set up what it keeps (the spectrogram's image).
            ASSERT_TRUE(run.Step());
            ASSERT_TRUE(run.Step());
            EXPECT_EQ(FramesAllocate(kFrames), kFrames * perPresent)
                << "mode " << mode << (cursor ? " with the cursor" : "");
        }
    }
}

} // namespace
