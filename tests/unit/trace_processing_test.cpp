// Smoothing, trace capture, peak searches, centroid, interpolation and bin conversion on traces
// written by the tests themselves.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "analysis/trace_processing.h"
#include "analysis_test_support.h"

namespace {

using namespace analysis_test;

// The moving average written out from its definition on a copy: the mean of the w values ending
// h after j (zeros before index 0), for every j that has h values after it.
std::vector<float> SmoothedCopy(const std::vector<float>& a, int32_t w) {
    std::vector<float> out = a;
    const int32_t n = static_cast<int32_t>(a.size());
    const int32_t h = w / 2;
    for (int32_t j = 0; j + h < n; ++j) {
        double sum = 0.0;
        for (int32_t m = j + h - w + 1; m <= j + h; ++m)
            sum += m < 0 ? 0.0 : a[m];
        out[j] = static_cast<float>(sum / w);
    }
    return out;
}

// On a long and a short array; widths outside 1 .. kMaxSmoothingBins leave the array alone.
TEST(SmoothBins, MatchesTheMovingAverageForEveryWidth) {
    std::mt19937 random(5);
    std::uniform_real_distribution<float> level(-120.0f, 20.0f);
    for (int32_t n : {4097, 3}) {
        std::vector<float> a(n);
        for (float& v : a)
            v = level(random);
        for (int32_t w : {1, 2, 3, 4, 5, 7, 9}) {
            std::vector<float> work = a;
            SmoothBins(work.data(), n, w);
            const std::vector<float> expected = SmoothedCopy(a, w);
            for (int32_t j = 0; j < n; ++j)
                ASSERT_NEAR(work[j], expected[j], 1e-4) << "n=" << n << " w=" << w << " j=" << j;
        }
        for (int32_t w : {0, -3, kMaxSmoothingBins + 2}) {
            std::vector<float> work = a;
            SmoothBins(work.data(), n, w);
            EXPECT_EQ(work, a) << w;
        }
    }
}

class TraceQueries : public AnalysisTest {
protected:
    void SetUp() override {
        AnalysisTest::SetUp();
        Init(44100, 2048); // 1025 bins, lowestPeakBin 0
        lowestPeakBin = 4;
    }
};

TEST_F(TraceQueries, CaptureTakesWhatTheModeShowsAndReleasesOnTheSecondCall) {
    for (int32_t i = 0; i < binCount; ++i) {
        traces[0][i] = static_cast<float>(i % 50) - 60.0f;
        traces[1][i] = -70.0f;
        phaseTrace[i] = static_cast<float>(i % 360) - 180.0f;
    }
    struct Case {
        int32_t mode;
        int32_t slot;
    };
    for (const Case c : {Case{kModeLinear, 0}, Case{kModeTransferLinear, 1},
                         Case{kModeTransferLog, 2}, Case{kModePhaseLog, 0}}) {
        displayMode = c.mode;
        const int32_t t = 2 + c.slot;
        const auto shown = [&](int32_t i) {
            return c.mode == kModePhaseLog ? phaseTrace[i]
                   : c.mode == kModeLinear ? traces[0][i]
                                           : traces[0][i] + 70.0f;
        };
        CaptureTrace(c.slot);
        EXPECT_EQ(traceVisible[t], 1);
        for (int32_t i = 0; i < binCount; ++i)
            ASSERT_EQ(traces[t][i], shown(i)) << "mode " << c.mode << " bin " << i;
        CaptureTrace(c.slot);
        EXPECT_EQ(traceVisible[t], 0);
        EXPECT_EQ(traces[t][7], shown(7));
    }
    CaptureTrace(3);
    CaptureTrace(-1);
    EXPECT_EQ(traceVisible[0], 1);
    EXPECT_EQ(traceVisible[1], 0);
}

TEST_F(TraceQueries, FindPeakBreaksTiesTowardsTheLowerBinAndTheLaterChannel) {
    EXPECT_EQ(FindPeak(), 5); // flat at the floor: the lowest bin searched
    EXPECT_EQ(peakValue, -100.0f);

    traces[0][3] = 50.0f; // at or below lowestPeakBin: not searched
    traces[0][60] = -10.0f;
    traces[0][90] = -10.0f;
    EXPECT_EQ(FindPeak(), 60);
    EXPECT_EQ(peakValue, -10.0f);

    liveChannelCount = 2;
    traces[1][700] = -10.0f;
    EXPECT_EQ(FindPeak(), 700);
    traces[1][1024] = -5.0f;
    EXPECT_EQ(FindPeak(), 1024);
    EXPECT_EQ(peakBin, 1024);
    EXPECT_EQ(peakValue, -5.0f);

    for (int c = 0; c < 2; ++c)
        for (int32_t i = 0; i < binCount; ++i)
            traces[c][i] = -130.0f;
    EXPECT_EQ(FindPeak(), 0);
}

TEST_F(TraceQueries, FindTransferPeakTakesTheLargestDifferenceAndKeepsTheHigherBinOnTies) {
    EXPECT_EQ(FindTransferPeak(), 0);
    EXPECT_EQ(peakValue, 0.0f);
    traces[0][100] = -97.0f; // +3 dB
    traces[1][300] = -97.0f; // -3 dB
    EXPECT_EQ(FindTransferPeak(), 300);
    EXPECT_EQ(peakValue, -3.0f);
    traces[1][50] = -93.5f; // -6.5 dB
    EXPECT_EQ(FindTransferPeak(), 50);
    EXPECT_EQ(peakValue, -6.5f);
    traces[1][2] = -50.0f; // below the search
    EXPECT_EQ(FindTransferPeak(), 50);
}

TEST_F(TraceQueries, PeakCentroidWeighsNeighboursByPower) {
    float* p = powerHistory[0];
    struct Case {
        int32_t k;
        float below, at, above;
        double expected;
    };
    const Case cases[] = {{100, 1.0f, 2.0f, 1.0f, 100.0}, {100, 0.0f, 1.0f, 1.0f, 100.5},
                          {100, 3.0f, 1.0f, 0.0f, 99.25}, {100, 0.0f, 0.0f, 0.0f, 0.0},
                          {0, 9.0f, 1.0f, 1.0f, 0.5},     {1024, 1.0f, 1.0f, 9.0f, 1023.5}};
    for (const Case& c : cases) {
        for (int32_t i = 0; i < binCount; ++i)
            p[i] = 0.0f;
        if (c.k > 0)
            p[c.k - 1] = c.below;
        p[c.k] = c.at;
        if (c.k < binCount - 1)
            p[c.k + 1] = c.above;
        EXPECT_DOUBLE_EQ(PeakCentroid(c.k, 0), c.expected) << c.k;
    }
    EXPECT_EQ(PeakCentroid(-1, 0), 0.0);
    EXPECT_EQ(PeakCentroid(binCount, 0), 0.0);
}

TEST_F(TraceQueries, TraceAtInterpolatesAndStaysInsideTheTrace) {
    for (int32_t i = 0; i < binCount; ++i)
        traces[2][i] = static_cast<float>(i) * 2.0f - 100.0f;
    traces[2][binCount - 1] = 7.0f;
    struct Case {
        double x, expected;
    };
    // 1023.75: three quarters of the way from bin 1023 (1946 dB) to the last bin (7 dB).
    const Case cases[] = {{0.0, -100.0},     {2.25, -95.5}, {10.5, -79.0}, {1023.0, 1946.0},
                          {1023.75, 491.75}, {1024.0, 7.0}, {1024.5, 7.0}, {5000.0, 7.0},
                          {-0.5, -100.0},    {-8.0, -100.0}};
    for (const Case& c : cases)
        EXPECT_NEAR(TraceAt(c.x, 2), c.expected, 1e-9) << c.x;
    EXPECT_EQ(TraceAt(3.0, 5), -100.0);
    EXPECT_EQ(TraceAt(3.0, -1), -100.0);
    EXPECT_EQ(PeakCentroid(3, 2), 0.0);
}

} // namespace
