// The transfer analysis: identical inputs, a lag between the inputs with and without the matching
// delay, the phase convention and its wrap, phase averaging and smoothing, and the two real bins.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analysis/phase.h"
#include "analysis/spectrum.h"
#include "analysis_test_support.h"

namespace {

using namespace analysis_test;

// Tones centred on these bins, 8 bins or more apart: with the Hann window the phase at a tone's
// bin is exactly the tone's phase, so a lag shows there in closed form.
const int32_t kToneBins[] = {40, 61, 97, 130, 171, 230, 301, 402, 511, 600, 777, 900};

double Tones(double t, int32_t n) {
    double v = 0.0;
    for (int32_t k : kToneBins)
        v += std::cos(2.0 * kPi * k * t / n + 0.1 * k) / 14.0;
    return v;
}

class Transfer : public AnalysisTest {
protected:
    void InitTransfer(int32_t rate, int32_t size) {
        displayMode = kModeTransferLinear;
        Init(rate, size);
    }
    // Both spectra at 1 + i in every bin (phase -45 degrees), DC and the last bin at 1.
    void FlatSpectra() {
        for (int32_t i = 0; i < fftSize; ++i)
            fftBuffers[0][i] = fftBuffers[1][i] = 1.0f;
    }
    // The left input lags the right one by lag samples.
    void LaggingLeft(int32_t lag) {
        const int32_t n = fftSize;
        FillWindow([&](int32_t j, int16_t& left, int16_t& right) {
            left = FullScale(Tones(j - lag, n));
            right = FullScale(Tones(j, n));
        });
    }
};

TEST_F(Transfer, IdenticalInputsGiveZeroDecibelsAndZeroDegrees) {
    InitTransfer(44100, 8192);
    FillWindow([](int32_t j, int16_t& left, int16_t& right) {
        left = right = FullScale(0.8 * std::sin(0.37 * j) * std::cos(0.0011 * j * j));
    });
    Analyse(sampleWindow);
    for (int32_t i = 0; i < binCount; ++i) {
        ASSERT_EQ(traces[0][i] - traces[1][i], 0.0f) << i;
        ASSERT_EQ(phaseTrace[i], 0.0f) << i;
    }
}

// Left lagging by d samples: channel 1 minus channel 2 falls by 360 d / N degrees per bin.
TEST_F(Transfer, LagWithoutDelayGivesALinearPhase) {
    for (int32_t lag : {1, 3, 8}) {
        InitTransfer(8000, 2048);
        LaggingLeft(lag);
        Analyse(sampleWindow);
        for (int32_t k : kToneBins) {
            EXPECT_NEAR(std::remainder(phaseTrace[k] + 360.0 * lag * k / 2048, 360.0), 0.0, 0.05)
                << "lag " << lag << " bin " << k;
            EXPECT_NEAR(traces[0][k] - traces[1][k], 0.0, 0.01) << "lag " << lag << " bin " << k;
        }
        AnalyseFree();
    }
}

// The same lag with the matching delay set on the right input lines the two up: once the delay
// line holds the previous window, the phase is flat at 0 and the magnitude at 0 dB.
TEST_F(Transfer, MatchingDelayFlattensThePhase) {
    InitTransfer(8000, 2048);
    ASSERT_TRUE(SetDelay(1.0));
    ASSERT_EQ(delaySamples, 8);
    LaggingLeft(8);
    Analyse(sampleWindow);
    Analyse(sampleWindow);
    for (int32_t k : kToneBins) {
        EXPECT_NEAR(phaseTrace[k], 0.0, 0.05) << k;
        EXPECT_NEAR(traces[0][k] - traces[1][k], 0.0, 0.01) << k;
    }
}

struct AngleCase {
    float re, im;
    double degrees;
};

double Phase(float re, float im) {
    const float pairs[8] = {re, im, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    float degrees[4];
    PhaseDegrees4(pairs, degrees);
    return degrees[0];
}

// The axes (exactly: the half turns of the wrap test rely on it), every quadrant, and a sweep
// around the circle at magnitudes from 1e-4 to 1e4 against the C library's arc tangent.
TEST(PhaseDegrees4, NegatedAngleOverEveryQuadrantAndAxis) {
    const float r3 = std::sqrt(3.0f);
    const AngleCase cases[] = {{1, 0, 0},         {-1, 0, 0},           {0, 0, 0},
                               {-0.0f, 0, 0},     {0, 1, -90},          {0, -1, 90},
                               {-0.0f, 2, -90},   {1, 1, -45},          {-1, 1, -135},
                               {-1, -1, 135},     {1, -1, 45},          {r3, 1, -30},
                               {1, r3, -60},      {-r3, 1, -150},       {-1e-30f, 1, -90},
                               {5e6f, -1e-3f, 0}, {-5e6f, 1e-3f, -180}, {-5e6f, -1e-3f, 180},
                               {-2, 1e-30f, -180}};
    for (const AngleCase& c : cases)
        EXPECT_NEAR(Phase(c.re, c.im), c.degrees, 2e-5) << c.re << " " << c.im;
    for (int step = 0; step < 7200; step += 4) {
        float pairs[8];
        double expected[4];
        for (int k = 0; k < 4; ++k) {
            const double a = -kPi + 2.0 * kPi * (step + k + 0.5) / 7200;
            const double radius = std::pow(10.0, (step + k) % 9 - 4);
            pairs[2 * k] = static_cast<float>(radius * std::cos(a));
            pairs[2 * k + 1] = static_cast<float>(radius * std::sin(a));
            expected[k] = -std::atan2(pairs[2 * k + 1], pairs[2 * k]) * 180.0 / kPi;
        }
        float degrees[4];
        PhaseDegrees4(pairs, degrees);
        for (int k = 0; k < 4; ++k)
            ASSERT_NEAR(degrees[k], expected[k], 2e-5) << step + k;
    }
}

// Spectra written straight into the FFT buffers: phases of exactly -180 and +180 stay as they
// are, differences beyond them wrap, and the DC and last bins (real, and the last one without
// room in the packed layout) read 0 whatever their real parts.
TEST_F(Transfer, PhaseWrapKeepsExactlyHalfATurn) {
    InitTransfer(44100, 2048);
    float* a = fftBuffers[0];
    float* b = fftBuffers[1];
    FlatSpectra();
    a[0] = 5.0f;  // DC
    a[1] = -3.0f; // real part of the last bin
    b[1] = 2.0f;
    const auto set = [](float* x, int32_t bin, double degrees) {
        x[2 * bin] = static_cast<float>(std::cos(-degrees * kPi / 180.0));
        x[2 * bin + 1] = static_cast<float>(std::sin(-degrees * kPi / 180.0));
    };
    a[2] = 0.0f, a[3] = 1.0f, b[2] = 0.0f, b[3] = -1.0f; // -90 minus 90
    a[4] = 0.0f, a[5] = -1.0f, b[4] = 0.0f, b[5] = 1.0f; // 90 minus -90
    set(a, 3, 170.0), set(b, 3, -170.0);
    set(a, 4, -170.0), set(b, 4, 170.0);
    set(a, 5, 100.0), set(b, 5, -60.0);
    UpdatePhase();
    EXPECT_EQ(phaseTrace[0], 0.0f);
    EXPECT_EQ(phaseTrace[1], -180.0f);
    EXPECT_EQ(phaseTrace[2], 180.0f);
    EXPECT_NEAR(phaseTrace[3], -20.0, 1e-4);
    EXPECT_NEAR(phaseTrace[4], 20.0, 1e-4);
    EXPECT_NEAR(phaseTrace[5], 160.0, 1e-4);
    EXPECT_EQ(phaseTrace[6], 0.0f);
    EXPECT_EQ(phaseTrace[binCount - 1], 0.0f);
}

// Phase averaging runs on every analysis, the first one included, and smoothing follows it.
TEST_F(Transfer, PhaseAveragingIsNotGatedAndSmoothingFollows) {
    InitTransfer(44100, 2048);
    float* a = fftBuffers[0];
    FlatSpectra();
    a[20] = 0.0f, a[21] = -1.0f; // bin 10: 90 - (-45) = 135
    for (int32_t i = 0; i < binCount; ++i)
        phaseTrace[i] = 10.0f;
    averaging = 4;
    ASSERT_EQ(analysisCount, 0);
    UpdatePhase();
    EXPECT_NEAR(phaseTrace[10], 10.0 * 0.75 + 135.0 * 0.25, 1e-5);
    EXPECT_NEAR(phaseTrace[11], 7.5, 1e-5);

    for (int32_t i = 0; i < binCount; ++i)
        phaseTrace[i] = 0.0f;
    averaging = 0;
    smoothingBins = 3;
    UpdatePhase();
    EXPECT_NEAR(phaseTrace[9], 45.0, 1e-5);
    EXPECT_NEAR(phaseTrace[10], 45.0, 1e-5);
    EXPECT_NEAR(phaseTrace[11], 45.0, 1e-5);
    EXPECT_EQ(phaseTrace[12], 0.0f);
}

} // namespace
