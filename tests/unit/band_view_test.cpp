// The band views and the SPL reading: the filling of bands narrower than a bin, the cursor's bar,
// and the reading's sum, calibration and hold (the band export's test checks the power sums).
#include <gtest/gtest.h>

#include <cmath>

#include "view_test_support.h"
#include "views/band_view.h"

namespace {

using namespace view_test;

class BandView : public ViewTest {
protected:
    int Bottom() const { return kPlotTop + plotHeight; }
    // Slot j of the bar area holds a bar of colour at its bottom row.
    bool BarIn(int j, int barWidth, uint16_t colour) const {
        return Count(colour, kPlotLeft + j * barWidth, Bottom() - 1, kPlotLeft + (j + 1) * barWidth,
                     Bottom()) > 0;
    }
};

TEST_F(BandView, BandsWithoutABinAreFilledFromTheirNeighbours) {
    // 8000 Hz, N = 2048: bins every 3.90625 Hz. The twelfth-octave bands 0..2 (15.9..18.9 Hz)
    // and 4..5 (20.0..22.5 Hz) hold no bin; bin 5 (19.5 Hz) is band 3, bin 6 (23.4 Hz) band 6.
    Init(8000, 2048);
    Flat(0, -100.0f);
    traces[0][5] = -40.0f;
    traces[0][6] = -20.0f;
    double levels[128];
    GatherBands(BandsFor(kModeTwelfthOctave), 96, traces[0], levels);
    // Band 0 has no band below it: the floor and band 3 averaged; each filled band then counts
    // as the left neighbour of the next.
    const double expected[7] = {-70.0, -55.0, -47.5, -40.0, -30.0, -25.0, -20.0};
    for (int j = 0; j < 7; ++j)
        EXPECT_DOUBLE_EQ(levels[j], expected[j]) << j;
}

TEST_F(BandView, CursorWhitensTheBarOfTheCursorTraceOnly) {
    Init(44100, 8192);
    peakTraceOn = 0;
    Flat(0, -50.0f);
    Flat(1, -70.0f);
    Flat(2, -60.0f);
    const int barWidth = plotWidth / 11;
    const int x = kPlotLeft + 6 * barWidth + 2; // the 1 kHz band
    DrawBandView(screen, kModeOctave);
    const int top = FirstRow(kGreen, x);
    ASSERT_GT(top, kPlotTop);

    HoldMouse(x, kPlotTop + 10);
    ClearSurface();
    DrawBandView(screen, kModeOctave);
    EXPECT_EQ(FirstRow(kWhite, x), top);
    // Channel 2's shorter bar lies under channel 1's white one.
    EXPECT_EQ(Count(kYellow, x, kPlotTop, x + 1, Bottom()), 0);
    EXPECT_TRUE(BarIn(5, barWidth, kGreen));
    EXPECT_FALSE(BarIn(6, barWidth, kGreen));

    // With the live traces hidden, Trace A is the cursor trace.
    liveTracesShown = 0;
    traceVisible[2] = 1;
    ClearSurface();
    DrawBandView(screen, kModeOctave);
    EXPECT_EQ(FirstRow(kWhite, x), top + SpectrumY(-10.0, 0, plotHeight));
    EXPECT_EQ(CountAll(kGreen), 0);
    EXPECT_TRUE(BarIn(5, barWidth, kMagenta));
}

class SplView : public ViewTest {
protected:
    // The SPL layout over channel 1 at the floor.
    void StartSilent(int32_t rate, int32_t size) {
        Init(rate, size);
        splMode = 1;
        Flat(0, -100.0f);
    }
    float ReadingAt(uint32_t ms) {
        headless::SetTime(ms);
        ClearSurface();
        DrawBandView(screen, kModeOctave);
        return splHold.reading;
    }
    // One bin at db near hz, every other bin at the floor.
    void Tone(double hz, float db) { traces[0][static_cast<int32_t>(hz / binWidthHz)] = db; }
};

// Silence reads the calibration plus the floor; tones add on an energy basis; a louder reading
// holds one second; the calibration moves the reading with it.
TEST_F(SplView, ReadingIsTheEnergySumOverTheCalibrationHeldOneSecond) {
    StartSilent(44100, 8192);
    EXPECT_EQ(ReadingAt(100), 0.0f);
    Tone(1000.0, -10.0f);
    Tone(4000.0, -10.0f);
    const double loud = 90.0 + 10.0 * std::log10(2.0);
    EXPECT_NEAR(ReadingAt(5000), loud, 1e-4);
    Flat(0, -100.0f);
    Tone(1000.0, -40.0f);
    const struct {
        uint32_t ms;
        double reading;
    } after[] = {{5001, loud}, {5500, loud}, {6000, loud}, {6001, 60.0}, {6002, 60.0}};
    for (const auto& a : after)
        EXPECT_NEAR(ReadingAt(a.ms), a.reading, 1e-4) << a.ms;
    splCalibrationDb = 94.0f;
    EXPECT_NEAR(ReadingAt(7100), 54.0, 1e-4);
}

TEST_F(SplView, AtEightKilohertzNineBandsAreSummed) {
    StartSilent(8000, 2048);
    Flat(0, -40.0f);
    // Every bin from 11 Hz up lies in one of the nine octave bands up to 4 kHz.
    double energy = 0.0;
    for (int32_t b = 0; b < binCount; ++b) {
        if (b * binWidthHz >= 11.0)
            energy += std::pow(10.0, -4.0);
    }
    EXPECT_NEAR(ReadingAt(100), 10.0 * std::log10(energy) + 100.0, 1e-4);
}

} // namespace
