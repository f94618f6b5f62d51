// Analysis set-up: bin geometry for every rate and size, the window table, what the set-up
// resets and keeps, release, and behaviour when memory runs out.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "analysis/analysis_setup.h"
#include "analysis/delay_line.h"
#include "analysis_test_support.h"
#include "port/headless/headless.h"
#include "state/alloc.h"
#include "state/state.h"

namespace {

class AnalysisSetup : public analysis_test::AnalysisTest {};

TEST_F(AnalysisSetup, DerivesBinsFromRateAndSize) {
    for (const Choice& r : kSampleRateChoices) {
        for (const Choice& s : kFftSizeChoices) {
            SCOPED_TRACE(std::to_string(r.value) + " Hz, " + std::to_string(s.value));
            ASSERT_TRUE(AnalyseInit(r.value, s.value));
            EXPECT_EQ(binCount, s.value / 2 + 1);
            // Every rate and size is exact in binary floating point when divided, so the bin
            // width must be the exact quotient, and the lowest peak bin the exact floor of 20 Hz.
            EXPECT_EQ(binWidthHz * s.value, static_cast<double>(r.value));
            EXPECT_EQ(lowestPeakBin, static_cast<int32_t>((20LL * s.value) / r.value));
            AnalyseFree();
        }
    }
}

TEST_F(AnalysisSetup, WindowTableIsTheMirroredHalfHannWindow) {
    for (const Choice& s : kFftSizeChoices) {
        const int32_t n = s.value;
        ASSERT_TRUE(AnalyseInit(44100, n));
        for (int32_t i = 0; i < n; ++i)
            ASSERT_NEAR(windowTable[i], analysis_test::HannAt(i, n), 1e-7)
                << "n=" << n << " i=" << i;
        AnalyseFree();
    }
}

TEST_F(AnalysisSetup, DelaySurvivesARestart) {
    delayMs = 10.0;
    ASSERT_TRUE(AnalyseInit(11025, 8192));
    EXPECT_EQ(delaySamples, 110);
    EXPECT_EQ(delayLine.lengthB, 8192 + 110);
    AnalyseFree();
    ASSERT_TRUE(AnalyseInit(44100, 4096));
    EXPECT_EQ(delayMs, 10.0);
    EXPECT_EQ(delaySamples, 441);
    EXPECT_EQ(delayLine.lengthA, 4096);
    EXPECT_EQ(delayLine.lengthB, 4096 + 441);
    EXPECT_TRUE(DelayLineActive());
}

TEST_F(AnalysisSetup, ZeroDelayLeavesTheLineAlone) {
    ASSERT_TRUE(AnalyseInit(44100, 8192));
    ASSERT_TRUE(SetDelay(5.0));
    const int16_t* rings = delayLine.bufferB;
    ASSERT_TRUE(SetDelay(0.01)); // 0.441 samples truncates to none
    EXPECT_EQ(delaySamples, 0);
    EXPECT_EQ(delayLine.bufferB, rings);
    EXPECT_FALSE(DelayLineActive());
}

// Whichever allocation fails, the set-up reports it, leaves no array behind (the address
// sanitizer build sees any leak) and a later set-up works; release is repeatable.
TEST_F(AnalysisSetup, AnyFailedAllocationLeavesNothingHalfMade) {
    for (int k = 0; k < 13; ++k) {
        alloc::FailAfter(k);
        EXPECT_FALSE(AnalyseInit(44100, 8192)) << "allocation " << k;
        alloc::FailAfter(-1);
        EXPECT_FALSE(AnalysisReady());
        for (float* t : traces)
            EXPECT_EQ(t, nullptr);
        EXPECT_EQ(windowTable, nullptr);
        AnalyseFree();
    }
    ASSERT_TRUE(AnalyseInit(44100, 8192));
    EXPECT_TRUE(AnalysisReady());
    AnalyseFree();
    AnalyseFree();
    EXPECT_FALSE(AnalysisReady());
    EXPECT_EQ(sampleWindow, nullptr);
    for (int c = 0; c < kLiveChannelMax; ++c) {
        EXPECT_EQ(fftBuffers[c], nullptr);
        EXPECT_EQ(powerHistory[c], nullptr);
    }
}

TEST_F(AnalysisSetup, FailedDelayLineIsReportedAndBypassed) {
    ASSERT_TRUE(AnalyseInit(44100, 8192));
    ASSERT_TRUE(SetDelay(20.0));
    ASSERT_TRUE(DelayLineActive());
    alloc::FailAfter(1); // ring A is allocated, ring B is not
    EXPECT_FALSE(SetDelay(30.0));
    alloc::FailAfter(-1);

    const auto shown = headless::TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "DelayLine Init Error");
    EXPECT_EQ(shown[0].caption, "AnalyseInit");
    EXPECT_EQ(delaySamples, 1323); // kept as requested
    EXPECT_FALSE(DelayLineActive());
    EXPECT_EQ(delayLine.bufferA, nullptr);
    EXPECT_EQ(delayLine.bufferB, nullptr);
    const int16_t frame[2] = {1, 2};
    EXPECT_FALSE(delayLine.Push(frame, 1));
    EXPECT_EQ(delayLine.ReadA(), 0);
    EXPECT_EQ(delayLine.ReadB(), 0);
}

} // namespace
