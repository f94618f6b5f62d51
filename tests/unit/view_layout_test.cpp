// Shared view geometry: the log axis position, frequency labels, value mappings and the
// peak-hold table and rule.
#include <gtest/gtest.h>

#include <cmath>

#include "state/alloc.h"
#include "state/state.h"
#include "views/view_layout.h"

namespace {

TEST(LogPosition, IsLog2OverFifteenWithinTheBisectionTolerance) {
    EXPECT_EQ(LogPosition(0.0), 0.0);
    for (double v : {1.0, 2.0, 3.0, 31.5, 440.0, 1000.0, 5.38330078125, 22050.0, 32768.0}) {
        const double expected = std::log2(v) / 15.0;
        EXPECT_NEAR(LogPosition(v), expected, 0.001 / 15.0) << v;
        EXPECT_LE(LogPosition(v), expected + 1e-12) << "the lower bracket is returned: " << v;
    }
    EXPECT_EQ(LogPosition(0.5), 0.0);
    EXPECT_NEAR(LogPosition(1e6), 1.0, 0.001 / 15.0);
}

// The labels of round frequencies are drawn in tests/golden/view_*.png.
TEST(FrequencyLabels, TrailingZerosAndPointGoButNotBeyond) {
    const struct {
        int hz;
        const char* text;
    } cases[] = {{999, "999"}, {12250, "12.25K"}, {1001, "1K"},
                 {1004, "1K"}, {1006, "1.01K"},   {100000, "100K"}};
    for (const auto& c : cases)
        EXPECT_STREQ(FormatFrequencyLabel(c.hz), c.text) << c.hz;
}

TEST(PeakHold, FailedTableLeavesNoRecords) {
    ResetAnalyzerState();
    ASSERT_TRUE(SetPlotSize(450, 180));
    alloc::FailAfter(0);
    EXPECT_FALSE(SetPlotSize(800, 300));
    alloc::FailAfter(-1);
    EXPECT_EQ(peakHoldCount, 0);
    ResetPeakHold();
    ASSERT_TRUE(SetPlotSize(800, 300));
    EXPECT_EQ(peakHoldCount, 751);
}

TEST(PeakHold, RuleHoldsTwoSecondsOrForever) {
    ResetAnalyzerState();
    const struct {
        int infinite;
        float start;
        uint32_t startTime;
        float v;
        uint32_t now;
        float expected;
    } cases[] = {
        {0, -40.0f, 1000, -30.0f, 1001, -30.0f},        // rises at once
        {0, -40.0f, 1000, -40.0f, 1001, -40.0f},        // equal counts as reaching it
        {0, -40.0f, 1000, -60.0f, 3000, -40.0f},        // held for 2000 ms
        {0, -40.0f, 1000, -60.0f, 3001, -60.0f},        // then falls to the current value
        {0, -40.0f, 0xFFFFFF00u, -60.0f, 1000, -40.0f}, // tick count wrapped: 1256 ms old
        {1, -40.0f, 1000, -60.0f, 90000, -40.0f},       // held forever
        {1, -40.0f, 1000, -20.0f, 90000, -20.0f},       // but still rises
    };
    for (const auto& c : cases) {
        peakHoldInfinite = c.infinite;
        PeakHoldRecord r{c.startTime, c.start};
        ApplyPeakHold(r, c.v, c.now);
        EXPECT_EQ(r.valueDb, c.expected) << c.v << " at " << c.now;
    }
}

// Right of a logarithmic plot the views jump to the next column that passes the current bin
// (or half the rate); a walk a column at a time must land on the same one.
TEST(LogColumns, JumpLandsWhereAWalkWould) {
    ResetAnalyzerState();
    ASSERT_TRUE(SetPlotSize(720, 480));
    sampleRate = 44100;
    binWidthHz = 44100.0 / 8192;
    const int nyquist = sampleRate / 2;
    for (double z : {1.0, 7.0, 250.0}) {
        for (int32_t first : {0, 1, 37, 1000, 4000}) {
            zoom = z;
            const double baseOctave = 15.0 * LogPosition(static_cast<float>(first * binWidthHz));
            const int p = plotWidth;
            const int32_t here = static_cast<int32_t>(LogColumnHz(p, baseOctave) / binWidthHz);
            for (int32_t bin : {here - 1, here, first}) {
                int walked = p;
                for (;; ++walked) {
                    const float f = LogColumnHz(walked, baseOctave);
                    if (f > nyquist || static_cast<int32_t>(f / binWidthHz) > bin)
                        break;
                }
                EXPECT_EQ(NextLogColumn(p, baseOctave, bin, nyquist), walked)
                    << "zoom " << z << " first bin " << first << " bin " << bin;
            }
        }
    }
    ResetZoom();
}

} // namespace
