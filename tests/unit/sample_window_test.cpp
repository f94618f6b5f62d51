// The frame update's bookkeeping: filling then sliding the sample window block by block with no
// block lost or repeated, channel levels, the held readout and the frame-rate ring.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <vector>

#include "analysis/analysis_setup.h"
#include "app/my_class.h"
#include "app/sample_window.h"
#include "state/state.h"

namespace {

// A capture source of numbered frames: frame n carries n in the left and -n in the right
// channel (modulo 16 bits), and each read can be told to fail.
struct NumberedSource {
    int32_t next = 0;
    std::deque<bool> failures; // consumed one per read; empty means succeed
    static bool Read(void* context, void* dest, uint32_t bytes) {
        auto* self = static_cast<NumberedSource*>(context);
        if (!self->failures.empty()) {
            const bool fail = self->failures.front();
            self->failures.pop_front();
            if (fail)
                return false;
        }
        auto* out = static_cast<int16_t*>(dest);
        for (uint32_t i = 0; i < bytes / 4; ++i, ++self->next) {
            out[2 * i] = static_cast<int16_t>(self->next);
            out[2 * i + 1] = static_cast<int16_t>(-self->next);
        }
        return true;
    }
};

class SampleWindow : public ::testing::TestWithParam<int32_t> {
protected:
    void SetUp() override {
        ResetAnalyzerState();
        const int32_t rate = GetParam();
        captureRate = rate;
        blockFrames = rate > 8000 ? 2048 : 512;
        captureFftSize = 8192;
        ASSERT_TRUE(AnalyseInit(rate, 8192));
    }
    void TearDown() override { AnalyseFree(); }
    // The window must hold frames last - N + 1 .. last in order.
    void ExpectNewestWindowEndsAt(int32_t last) {
        for (int32_t j = 0; j < captureFftSize; ++j) {
            const int16_t n = static_cast<int16_t>(last - captureFftSize + 1 + j);
            ASSERT_EQ(sampleWindow[2 * j], n) << "frame " << j;
            ASSERT_EQ(sampleWindow[2 * j + 1], static_cast<int16_t>(-n)) << "frame " << j;
        }
    }
};

// Whole blocks fill the window, then each call slides it by one; failed reads lose and repeat
// nothing, and the slide is done once whatever number of reads fail after it.
TEST_P(SampleWindow, FillsThenSlidesOneBlockPerCallWhateverReadsFail) {
    NumberedSource source;
    source.failures = {true, false}; // one miss while filling
    ASSERT_EQ(AdvanceSampleWindow(NumberedSource::Read, &source), WindowStep::kNoBlock);
    for (int32_t b = 0; b < captureFftSize / blockFrames; ++b)
        ASSERT_EQ(AdvanceSampleWindow(NumberedSource::Read, &source), WindowStep::kFilling) << b;
    EXPECT_EQ(windowFill, captureFftSize);
    for (int k = 0; k < 3; ++k) {
        ASSERT_EQ(AdvanceSampleWindow(NumberedSource::Read, &source), WindowStep::kSlid);
        ExpectNewestWindowEndsAt(source.next - 1);
    }
    source.failures = {true, true, false};
    EXPECT_EQ(AdvanceSampleWindow(NumberedSource::Read, &source), WindowStep::kNoBlock);
    EXPECT_EQ(windowShifted, 1);
    EXPECT_EQ(AdvanceSampleWindow(NumberedSource::Read, &source), WindowStep::kNoBlock);
    EXPECT_EQ(AdvanceSampleWindow(NumberedSource::Read, &source), WindowStep::kSlid);
    EXPECT_EQ(windowShifted, 0);
    ExpectNewestWindowEndsAt(source.next - 1);
}

TEST_P(SampleWindow, RestartBetweenSlideAndReadStartsAfresh) {
    NumberedSource source;
    while (windowFill < captureFftSize)
        AdvanceSampleWindow(NumberedSource::Read, &source);
    source.failures = {true};
    ASSERT_EQ(AdvanceSampleWindow(NumberedSource::Read, &source), WindowStep::kNoBlock);
    ASSERT_EQ(windowShifted, 1);
    RestartCapture(GetParam(), 8192);
    StopCapture();
    while (windowFill < captureFftSize)
        ASSERT_EQ(AdvanceSampleWindow(NumberedSource::Read, &source), WindowStep::kFilling);
    ASSERT_EQ(AdvanceSampleWindow(NumberedSource::Read, &source), WindowStep::kSlid);
    ExpectNewestWindowEndsAt(source.next - 1);
}

INSTANTIATE_TEST_SUITE_P(Rates, SampleWindow, ::testing::Values(44100, 8000));

TEST(ChannelLevel, SilenceFullScaleAndHalf) {
    const struct {
        int16_t left, right;
        float leftDb, rightDb;
    } cases[] = {
        {0, 0, -96.0f, -96.0f},
        {32767, -32768, 0.0f, 20.0f * std::log10(32768.0f / 32767.0f)},
        {16384, 1, 20.0f * std::log10(16384.0f / 32767.0f), 20.0f * std::log10(1.0f / 32767.0f)},
    };
    for (const auto& c : cases) {
        std::vector<int16_t> frames(2 * 64, 0);
        frames[2 * 17] = c.left;
        frames[2 * 40 + 1] = c.right;
        EXPECT_NEAR(ChannelLevelDb(frames.data(), 64, 0), c.leftDb, 1e-4) << c.left;
        EXPECT_NEAR(ChannelLevelDb(frames.data(), 64, 1), c.rightDb, 1e-4) << c.right;
    }
}

TEST(MeterHold, PeakHoldsOneSecondThenFollows) {
    ResetAnalyzerState();
    EXPECT_EQ(HoldMeterReading(-30.0f, 1000), -30.0f);
    EXPECT_EQ(HoldMeterReading(-50.0f, 1500), -30.0f);
    EXPECT_EQ(HoldMeterReading(-50.0f, 1999), -30.0f);
    EXPECT_EQ(HoldMeterReading(-50.0f, 2000), -50.0f) << "hold over after 1000 ms";
    EXPECT_EQ(meterHoldDb, -100.0f);
    EXPECT_EQ(HoldMeterReading(-60.0f, 2030), -60.0f) << "a new hold starts";
    EXPECT_EQ(HoldMeterReading(-70.0f, 2060), -60.0f);
    EXPECT_EQ(HoldMeterReading(-96.0f, 3100), -96.0f);
}

TEST(FrameRate, ZeroForFifteenFramesThenMeasured) {
    ResetAnalyzerState();
    FrameRateRing ring;
    uint32_t now = 0xFFFFFE00u; // across the wrap of the tick count
    for (int i = 0; i < 15; ++i) {
        ring.Tick(now);
        EXPECT_EQ(frameRate, 0) << i;
        now += 40;
    }
    ring.Tick(now);
    EXPECT_EQ(frameRate, 16000 / (15 * 40));
    now += 40;
    ring.Tick(now);
    EXPECT_EQ(frameRate, 26);
    FrameRateRing stalled;
    for (int i = 0; i < 16; ++i)
        stalled.Tick(5000);
    EXPECT_EQ(frameRate, 999);
}

} // namespace
