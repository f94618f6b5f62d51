// The spectrum views and what they share with the others: the peak readout's hold, zoom and
// scroll limits, the drag zoom, and the peak trace across a plot wider than 2048 columns (the
// readout texts and the crosshair are drawn in tests/golden/view_*.png).
#include <gtest/gtest.h>

#include "view_test_support.h"
#include "views/readouts.h"
#include "views/spectrum_view.h"
#include "views/zoom.h"

namespace {

using namespace view_test;

class SpectrumView : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        Init(44100, 8192);
        monitorMode = kMonitorMono;
        liveChannelCount = 1;
        SyncLiveTraceFlags();
        WindowInput(sampleWindow);
        for (int t = 0; t < kTraceCount; ++t)
            Flat(t, -100.0f);
    }
    // Channel 1 with one strong bin whose power centre is the bin itself.
    void Peak(int32_t bin, float db) {
        Flat(0, -100.0f);
        for (int32_t b = 0; b < binCount; ++b)
            powerHistory[0][b] = 0.0f;
        traces[0][bin] = db;
        powerHistory[0][bin] = 1.0f;
    }
    // Draws the peak readout at ms; the readout then shows what peakReadoutHold holds.
    void ReadoutAt(uint32_t ms) {
        headless::SetTime(ms);
        DrawPeakReadout(screen, kReadoutY);
    }
};

TEST_F(SpectrumView, FallingPeakHoldsOneSecondRisingShowsAtOnce) {
    Peak(186, -20.0f);
    ReadoutAt(10000);
    const float first = static_cast<float>(186 * binWidthHz);
    EXPECT_EQ(peakReadoutHold.level, -20.0f);
    EXPECT_FLOAT_EQ(peakReadoutHold.frequency, first);
    Peak(400, -30.0f);
    const float second = static_cast<float>(400 * binWidthHz);
    const struct {
        uint32_t ms;
        float level, frequency;
    } timeline[] = {{10500, -20.0f, first}, {11000, -20.0f, first}, {11001, -30.0f, second}};
    for (const auto& at : timeline) {
        ReadoutAt(at.ms);
        EXPECT_EQ(peakReadoutHold.level, at.level) << at.ms;
        EXPECT_FLOAT_EQ(peakReadoutHold.frequency, at.frequency) << at.ms;
    }
    Peak(100, -10.0f);
    ReadoutAt(11002);
    EXPECT_EQ(peakReadoutHold.level, -10.0f);
}

TEST_F(SpectrumView, ZoomStaysWithinOneToTwoHundredFifty) {
    const struct {
        int32_t mode;
        double zoom;
        int32_t firstBin;
        int key;
        double zoomAfter;
        int32_t firstBinAfter;
    } cases[] = {
        {kModeLinear, 1.0, 0, VK_DOWN, 1.0, 0},
        // The middle bin stays in the middle.
        {kModeLinear, 1.0, 0, VK_UP, 2.0, 1024},
        {kModeLinear, 2.0, 1024, VK_DOWN, 1.0, 0},
        {kModeLinear, 249.0, 2000, VK_UP, 250.0, 2000},
        {kModeLinear, 250.0, 2000, VK_UP, 250.0, 2000},
        {kModeTransferLinear, 250.0, 2000, VK_UP, 250.0, 2000},
        {kModeLog, 1.0, 0, VK_DOWN, 1.0, 0},
        {kModeLog, 250.0, 500, VK_UP, 250.0, 500},
        // The band views have no frequency window.
        {kModeOctave, 3.0, 7, VK_UP, 3.0, 7},
        {kModeSpl, 3.0, 7, VK_DOWN, 3.0, 7},
    };
    for (const auto& c : cases) {
        displayMode = c.mode;
        zoom = c.zoom;
        firstBin = c.firstBin;
        ZoomView(c.key);
        EXPECT_EQ(zoom, c.zoomAfter) << c.mode << " from " << c.zoom;
        EXPECT_EQ(firstBin, c.firstBinAfter) << c.mode << " from " << c.zoom;
    }
}

TEST_F(SpectrumView, ScrollingStopsAtBothEndsOfTheSpectrum) {
    displayMode = kModeLinear;
    zoom = 4.0;
    firstBin = 0;
    for (int i = 0; i < 200; ++i)
        ScrollView(VK_RIGHT, kModeLinear);
    EXPECT_EQ(firstBin, binCount - binCount / 4);
    for (int i = 0; i < 200; ++i)
        ScrollView(VK_LEFT, kModeLinear);
    EXPECT_EQ(firstBin, 0);
    // At zoom 1 the logarithmic views show all 15 octaves and cannot scroll.
    zoom = 1.0;
    ScrollView(VK_RIGHT, kModeLog);
    EXPECT_EQ(firstBin, 0);
}

TEST_F(SpectrumView, DragZoomToTheChosenRange) {
    displayMode = kModeLinear;
    headless::SetFocusWindow(&window);
    headless::SetKeyDown(VK_SHIFT, true);
    const struct {
        int from, to;
        double zoom;
    } drags[] = {
        {kPlotLeft + 100, kPlotLeft + 100, 1.0}, // a click without movement changes nothing
        {kPlotLeft + 1, kPlotLeft + plotWidth + 40,
         static_cast<double>(plotWidth) / (plotWidth - 1)},
        {kPlotLeft + 200, kPlotLeft + 201, 250.0}, // limited, centred on the selection
    };
    for (const auto& d : drags) {
        ResetZoom();
        spectrogramReset = 0;
        headless::SetCursor(d.from, kPlotTop + 50);
        BeginDragZoom();
        ASSERT_EQ(dragActive, 1);
        headless::SetCursor(d.to, kPlotTop + 50);
        TrackDragZoom();
        EndDragZoom();
        EXPECT_EQ(dragActive, 0);
        EXPECT_DOUBLE_EQ(zoom, d.zoom) << d.from << ".." << d.to;
        EXPECT_EQ(spectrogramReset, d.zoom != 1.0 ? 1 : 0);
    }
    const double centre = 200.5 * binCount / plotWidth;
    EXPECT_NEAR(firstBin + binCount / zoom * 0.5, centre, 1.0);
}

// The peak trace keeps one record per column however wide the plot is.
TEST_F(SpectrumView, PeakTraceSpansAPlotWiderThanTwoThousandColumns) {
    AnalyseFree();
    Init(44100, 32768, 4050, 300);
    ASSERT_EQ(plotWidth, 4000);
    for (auto draw : {DrawSpectrumLinear, DrawSpectrumLog}) {
        ResetPeakHold();
        Flat(0, -30.0f);
        draw(screen);
        // The level falls: the peak trace holds above it.
        Flat(0, -60.0f);
        ClearSurface();
        draw(screen);
        EXPECT_GT(Count(kPeakColour, kPlotLeft + 3000, kPlotTop, kPlotLeft + plotWidth,
                        kPlotTop + plotHeight),
                  0);
    }
}

} // namespace
