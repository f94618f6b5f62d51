// Delay line: channel B comes out delaySamples later than it went in, zeros first, across the
// wrap-around of its ring, while channel A passes undelayed.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "analysis/delay_line.h"

namespace {

struct DelayCase {
    int32_t n;
    int32_t delay;
    int32_t windows; // analysis windows pushed and read, each of n frames
};

class DelayTiming : public ::testing::TestWithParam<DelayCase> {};

TEST_P(DelayTiming, ChannelBLagsByTheDelay) {
    const DelayCase c = GetParam();
    CDelayLine line;
    ASSERT_TRUE(line.Init(c.n, 0, c.delay));

    std::mt19937 random(c.n * 31 + c.delay);
    std::uniform_int_distribution<int> sample(-32768, 32767);
    std::vector<int16_t> left, right;
    for (int32_t w = 0; w < c.windows; ++w) {
        std::vector<int16_t> frames(2 * c.n);
        for (int32_t j = 0; j < c.n; ++j) {
            frames[2 * j] = static_cast<int16_t>(sample(random));
            frames[2 * j + 1] = static_cast<int16_t>(sample(random));
            left.push_back(frames[2 * j]);
            right.push_back(frames[2 * j + 1]);
        }
        ASSERT_TRUE(line.Push(frames.data(), c.n));
        for (int32_t j = 0; j < c.n; ++j) {
            const size_t t = static_cast<size_t>(w) * c.n + j;
            ASSERT_EQ(line.ReadA(), left[t]) << "window " << w << " frame " << j;
            const int16_t expectedB = t < static_cast<size_t>(c.delay) ? 0 : right[t - c.delay];
            ASSERT_EQ(line.ReadB(), expectedB) << "window " << w << " frame " << j;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DelayTiming,
                         ::testing::Values(DelayCase{8, 0, 4}, DelayCase{8, 1, 5},
                                           DelayCase{8, 3, 7}, DelayCase{16, 15, 6},
                                           DelayCase{16, 16, 6}, DelayCase{16, 40, 9},
                                           DelayCase{2048, 110, 4}, DelayCase{8192, 44055, 8}),
                         [](const ::testing::TestParamInfo<DelayCase>& info) {
                             return "n" + std::to_string(info.param.n) + "_delay" +
                                    std::to_string(info.param.delay);
                         });

TEST(DelayLine, RejectsImpossibleLengths) {
    CDelayLine line;
    EXPECT_FALSE(line.Init(0, 0, 0));
    EXPECT_FALSE(line.Init(8, 0, -1));
    EXPECT_FALSE(line.Init(8, INT32_MAX, 0));
    EXPECT_EQ(line.initialised, 0u);
    const int16_t frame[2] = {5, 6};
    EXPECT_FALSE(line.Push(frame, 1));
}

TEST(DelayLine, ReinitialisingDropsOldSamples) {
    CDelayLine line;
    ASSERT_TRUE(line.Init(4, 0, 2));
    const int16_t frames[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_TRUE(line.Push(frames, 4));
    ASSERT_TRUE(line.Init(4, 0, 2));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(line.ReadB(), 0);
    line.Free();
    line.Free();
    EXPECT_EQ(line.initialised, 0u);
}

} // namespace
