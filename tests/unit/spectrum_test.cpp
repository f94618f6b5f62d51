// The per-frame analysis against closed forms and a naive DFT of the Mono sum: sine levels,
// silence, the monitor modes with swap, gain and weighting, averaging and decay across frames.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "analysis/spectrum.h"
#include "analysis/trace_processing.h"
#include "analysis/weighting.h"
#include "analysis_test_support.h"
#include "gfx/dib.h"

namespace {

using namespace analysis_test;

class Spectrum : public AnalysisTest {
protected:
    // A full-scale sine centred on bin k on one input, independent noise on the other.
    void SineOn(int channel, int32_t k, uint32_t seed = 1) {
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> noise(-20000, 20000);
        const int32_t n = fftSize;
        FillWindow([&](int32_t j, int16_t& left, int16_t& right) {
            const int16_t sine = FullScale(std::sin(2.0 * kPi * k * j / n));
            const int16_t other = static_cast<int16_t>(noise(random));
            left = channel == 0 ? sine : other;
            right = channel == 0 ? other : sine;
        });
    }
};

// |X[k]|^2 of a Hann-windowed unit sine is N/16, so the level is 10 log10(N/16) - 32 dB. The
// window's two middle samples being equal shifts it by under 0.005 dB.
TEST_F(Spectrum, FullScaleSineReadsItsClosedFormLevelAtEverySize) {
    for (const Choice& size : kFftSizeChoices) {
        const int32_t n = size.value;
        Init(44100, n);
        monitorMode = kMonitorLeft;
        for (int32_t k : {17, n / 8 + 3, n / 2 - 9}) {
            SineOn(0, k);
            analysisCount = 0;
            Analyse(sampleWindow);
            EXPECT_NEAR(traces[0][k], 10.0 * std::log10(n / 16.0) - 32.0, 0.01)
                << "n=" << n << " k=" << k;
        }
        AnalyseFree();
    }
}

TEST_F(Spectrum, GainAndWeightingAddToTheLevel) {
    Init(44100, 8192);
    monitorMode = kMonitorLeft;
    gainDb = 7.5f;
    BuildWeighting(kWeightingA);
    const int32_t k = 400; // about 2153 Hz
    SineOn(0, k);
    Analyse(sampleWindow);
    const double expected = 10.0 * std::log10(8192 / 16.0) - 32.0 + 7.5 + weightingCurve[k];
    EXPECT_NEAR(traces[0][k], expected, 0.01);
}

// Every level of a random input against 10 log10 |DFT|^2 - 32 of the same windowed samples,
// computed in double from the window's definition.
TEST_F(Spectrum, LevelsMatchANaiveDftOfTheWindowedInput) {
    Init(22050, 2048);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> sample(-32768, 32767);
    FillWindow([&](int32_t, int16_t& left, int16_t& right) {
        left = static_cast<int16_t>(sample(random));
        right = static_cast<int16_t>(sample(random));
    });
    std::vector<Complex> x(2048);
    for (int32_t j = 0; j < 2048; ++j)
        x[j] = (static_cast<double>(sampleWindow[2 * j]) + sampleWindow[2 * j + 1]) *
               HannAt(j, 2048) / 65534.0;
    std::vector<int32_t> bins;
    for (int32_t k = 0; k <= 1024; ++k)
        bins.push_back(k);
    const std::vector<Complex> reference = NaiveDft(x, 1, bins);
    Analyse(sampleWindow); // Mono
    for (int32_t k = 0; k <= 1024; ++k) {
        const double expected = 10.0 * std::log10(std::norm(reference[k])) - 32.0;
        ASSERT_NEAR(traces[0][k], expected, 1e-3) << "bin " << k;
    }
}

TEST_F(Spectrum, SilenceIsAtTheFloorWhateverGainAndWeighting) {
    Init(44100, 4096);
    gainDb = 20.0f;
    BuildWeighting(kWeightingC);
    for (int32_t mode : {kMonitorMono, kMonitorLeft, kMonitorRight, kMonitorStereo}) {
        monitorMode = mode;
        liveChannelCount = mode == kMonitorStereo ? 2 : 1;
        Analyse(sampleWindow);
        for (int c = 0; c < liveChannelCount; ++c)
            for (int32_t i = 0; i < binCount; ++i)
                ASSERT_EQ(traces[c][i], -100.0f)
                    << "mode " << mode << " channel " << c << " bin " << i;
    }
}

// Which input each live channel analyses, and the trace colours, for every monitor mode with
// and without the swap: a sine at bin 100 on the left input, one at bin 300 on the right.
TEST_F(Spectrum, EachModeAnalysesItsChosenInputs) {
    const uint16_t green = MakeColor(0, 255, 0), yellow = MakeColor(255, 255, 0);
    const struct {
        int32_t mode;
        int32_t swap;
        int32_t peak0, peak1; // expected strongest bin of live channel 1 and 2 (0: not computed)
        uint16_t colour0, colour1;
    } cases[] = {
        {kMonitorLeft, 0, 100, 0, green, green},      {kMonitorLeft, 1, 300, 0, green, green},
        {kMonitorRight, 0, 300, 0, yellow, yellow},   {kMonitorRight, 1, 100, 0, yellow, yellow},
        {kMonitorStereo, 0, 100, 300, green, yellow}, {kMonitorStereo, 1, 300, 100, green, yellow},
    };
    Init(44100, 4096);
    FillWindow([&](int32_t j, int16_t& left, int16_t& right) {
        left = FullScale(0.5 * std::sin(2.0 * kPi * 100 * j / 4096));
        right = FullScale(0.5 * std::sin(2.0 * kPi * 300 * j / 4096));
    });
    for (const auto& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " swap " + std::to_string(c.swap));
        monitorMode = c.mode;
        liveChannelCount = c.mode == kMonitorStereo ? 2 : 1;
        swapChannels = c.swap;
        Analyse(sampleWindow);
        const int32_t peaks[2] = {c.peak0, c.peak1};
        for (int ch = 0; ch < liveChannelCount; ++ch) {
            int32_t best = 0;
            for (int32_t i = 1; i < binCount; ++i)
                if (traces[ch][i] > traces[ch][best])
                    best = i;
            EXPECT_EQ(best, peaks[ch]) << "channel " << ch;
        }
        EXPECT_EQ(traceColour[0], c.colour0);
        EXPECT_EQ(traceColour[1], c.colour1);
    }
}

// A step from silence to a steady tone: with factor k the tone's power after m averaged frames
// is P (1 - (1 - 1/k)^m); the first analysis after a set-up is never averaged.
TEST_F(Spectrum, AveragingApproachesTheToneGeometrically) {
    for (int32_t k : {2, 4, 8, 16, 32, 64}) {
        Init(44100, 2048);
        monitorMode = kMonitorLeft;
        averaging = k;
        Analyse(sampleWindow); // silence, not averaged
        const int32_t bin = 200;
        SineOn(0, bin);
        const double full = 10.0 * std::log10(2048 / 16.0) - 32.0;
        for (int m = 1; m <= 6; ++m) {
            Analyse(sampleWindow);
            const double share = 1.0 - std::pow(1.0 - 1.0 / k, m);
            EXPECT_NEAR(traces[0][bin], full + 10.0 * std::log10(share), 0.01)
                << "k=" << k << " frame " << m;
        }
        AnalyseFree();
    }
}

// decayRate 20 at 20 frames per second: a tone that stops falls by exactly 1 dB per frame; it
// rises at once; without a frame rate, a decay rate or on the first analysis nothing decays.
TEST_F(Spectrum, DecayLimitsTheFallPerFrame) {
    Init(44100, 2048);
    monitorMode = kMonitorLeft;
    SineOn(0, 300);
    decayRate = 20;
    frameRate = 20;
    Analyse(sampleWindow);
    const float start = traces[0][300];
    FillWindow([](int32_t, int16_t& left, int16_t& right) { left = right = 0; });
    for (int m = 1; m <= 5; ++m) {
        Analyse(sampleWindow);
        EXPECT_NEAR(traces[0][300], start - m, 1e-4) << m;
    }
    SineOn(0, 300);
    Analyse(sampleWindow);
    EXPECT_NEAR(traces[0][300], start, 0.01);

    for (int off = 0; off < 3; ++off) {
        SineOn(0, 300);
        Analyse(sampleWindow);
        decayRate = off == 0 ? 0 : 20;
        frameRate = off == 1 ? 0 : 20;
        if (off == 2)
            analysisCount = 0;
        FillWindow([](int32_t, int16_t& left, int16_t& right) { left = right = 0; });
        Analyse(sampleWindow);
        EXPECT_EQ(traces[0][300], -100.0f) << off;
    }
}

} // namespace
