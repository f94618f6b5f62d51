// Shared by the view tests: fresh analysis arrays for one rate and size, a view surface of a
// chosen size bound to a headless window, the program's fonts, traces set directly, the mouse,
// pixel queries on what a view drew, and the whole analyzer showing a view of a sine. Test
// (user-interface) thread only.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "analysis/analysis_setup.h"
#include "analysis/delay_line.h"
#include "analysis/spectrum.h"
#include "app/my_class.h"
#include "cli/app_run.h"
#include "gfx/screen.h"
#include "port/headless/headless.h"
#include "port/messages.h"
#include "state/state.h"
#include "ui/control_ids.h"
#include "views/fonts.h"
#include "views/view_layout.h"

namespace view_test {

const uint16_t kBackground = MakeColor(0, 32, 0);
const uint16_t kGreen = MakeColor(0, 255, 0);     // channel 1 in Stereo
const uint16_t kYellow = MakeColor(255, 255, 0);  // channel 2 in Stereo
const uint16_t kMagenta = MakeColor(255, 0, 255); // Trace A

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        headless::ResetPort();
        headless::SetFocusWindow(nullptr);
        LoadAppFonts();
    }
    void TearDown() override {
        AnalyseFree();
        delayLine.Free();
    }

    // Arrays for rate and size, a surface of width x height cleared as the frame update does,
    // and the trace colours of a Stereo analysis.
    void Init(int32_t rate, int32_t size, int width = 720, int height = 480) {
        ASSERT_TRUE(AnalyseInit(rate, size));
        ASSERT_TRUE(SetPlotSize(width, height));
        ASSERT_TRUE(screen.Create(&window));
        ASSERT_TRUE(screen.Create(width, height));
        monitorMode = kMonitorStereo;
        liveChannelCount = 2;
        SyncLiveTraceFlags();
        WindowInput(sampleWindow);
        ClearSurface();
    }
    void ClearSurface() { screen.Clear(kBackground); }

    void Flat(int t, float db) {
        for (int32_t b = 0; b < binCount; ++b)
            traces[t][b] = db;
    }

    // The left button held with the mouse at (x, y) of the view.
    void HoldMouse(int x, int y) {
        headless::SetFocusWindow(&window);
        headless::SetCursor(x, y);
        headless::SetKeyDown(VK_LBUTTON, true);
    }

    // Pixels of colour in the rectangle x0..x1 - 1, y0..y1 - 1 of the surface.
    int Count(uint16_t colour, int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += screen.GetPixel(x, y) == colour;
        return n;
    }
    int CountAll(uint16_t colour) const {
        return Count(colour, 0, 0, screen.m_Width, screen.m_Height);
    }
    // Rows of column x in colour, top to bottom: the first and the last, -1 when none.
    int FirstRow(uint16_t colour, int x) const {
        for (int y = 0; y < screen.m_Height; ++y)
            if (screen.GetPixel(x, y) == colour)
                return y;
        return -1;
    }
    int LastRow(uint16_t colour, int x) const {
        for (int y = screen.m_Height - 1; y >= 0; --y)
            if (screen.GetPixel(x, y) == colour)
                return y;
        return -1;
    }

    int window = 0;
    CScreen screen;
};

// The whole analyzer at width x height on a half-scale sine of hz, showing mode (in Stereo if
// asked for) as the user chooses it in the combos, once the first frame is drawn.
class RunningViewTest : public ::testing::Test {
protected:
    void Start(double hz, int width, int height, int32_t mode, bool stereo) {
        std::string error;
        ASSERT_TRUE(run.Start(width, height, &error)) << error;
        headless::CaptureSource sine;
        sine.kind = headless::CaptureSource::Kind::Sine;
        sine.frequencyHz = hz;
        ASSERT_TRUE(run.UseSource(sine, 44100, &error)) << error;
        run.ChooseMode(mode);
        if (stereo)
            run.SelectItem(kMonitorCombo, kMonitorStereo);
        ASSERT_EQ(run.RunBlocks(captureFftSize / blockFrames + 1), 1);
    }
    cli::AppRun run;
};

} // namespace view_test
