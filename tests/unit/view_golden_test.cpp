// Every view in its representative states, drawn from synthetic traces through the headless
// port and compared pixel for pixel with tests/golden/view_*.png (TONALYX_UPDATE_GOLDEN=1
// rewrites them; look at each before committing). One picture is a whole frame update of the
// running analyzer, with its level meters.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>

#include "app/my_class.h"
#include "golden.h"
#include "view_test_support.h"
#include "views/band_view.h"
#include "views/readouts.h"
#include "views/spectrogram_view.h"
#include "views/spectrum_view.h"
#include "views/transfer_view.h"

namespace {

using namespace view_test;

const double kPi = 3.14159265358979323846;

struct Tone {
    double hz;
    float db;
};

// A spectrum that falls 3 dB per octave above 100 Hz, with a fixed ripple of up to +-2 dB and
// tones shaped like the window's main lobe, held to floorDb .. topDb.
void Synthesize(float* trace, float levelDb, std::initializer_list<Tone> tones, uint32_t seed) {
    uint32_t state = seed;
    for (int32_t b = 0; b < binCount; ++b) {
        const double f = b * binWidthHz;
        state = state * 1664525u + 1013904223u;
        double v = levelDb - 3.0 * std::log2(1.0 + f / 100.0) + ((state >> 8) % 401) / 100.0 - 2.0;
        for (const Tone& t : tones) {
            const double d = (f - t.hz) / binWidthHz;
            if (std::fabs(d) < 4.0 && t.db - 6.0 * d * d > v)
                v = t.db - 6.0 * d * d;
        }
        trace[b] = static_cast<float>(v < floorDb ? floorDb : v > topDb ? topDb : v);
    }
}

// The power behind channel 1's levels, which the peak readout centres its peak with.
void MatchPower() {
    for (int32_t b = 0; b < binCount; ++b)
        powerHistory[0][b] = static_cast<float>(std::pow(10.0, traces[0][b] / 10.0));
}

class ViewGolden : public ViewTest {
protected:
    // Channel 1 and 2 and the captured Trace A of a music-like spectrum.
    void Spectra() {
        Synthesize(traces[0], -30.0f, {{440.0, -12.0f}, {1320.0, -24.0f}, {5000.0, -40.0f}}, 1);
        Synthesize(traces[1], -38.0f, {{880.0, -20.0f}}, 2);
        Synthesize(traces[2], -55.0f, {{2000.0, -35.0f}}, 3);
        traceVisible[2] = 1;
        MatchPower();
    }
    static void Shift(float db) {
        for (float* t : {traces[0], traces[1]})
            for (int32_t b = 0; b < binCount; ++b)
                t[b] += db;
    }
    // A frame of louder spectra first leaves the peak trace above the current one.
    void DrawWithPeaks(void (*draw)(CDib&)) {
        Shift(6.0f);
        draw(screen);
        Shift(-6.0f);
        ClearSurface();
        draw(screen);
    }
    // Channel 2 is channel 1 delayed by delayMs; Trace A holds an earlier transfer function.
    void Transfer(double delayMs) {
        Synthesize(traces[1], -40.0f, {{1000.0, -20.0f}}, 4);
        for (int32_t b = 0; b < binCount; ++b) {
            const double f = b * binWidthHz;
            traces[0][b] = traces[1][b] + static_cast<float>(6.0 * std::sin(f / 3000.0)) -
                           (f > 12000.0 ? static_cast<float>((f - 12000.0) / 200.0) : 0.0f);
            const double turns = f * delayMs * 0.001;
            phaseTrace[b] = static_cast<float>(360.0 * (turns - std::floor(turns + 0.5)));
            traces[2][b] = static_cast<float>(-3.0 + 8.0 * std::cos(f / 5000.0));
        }
        traceVisible[2] = 1;
        MatchPower();
    }
};

TEST_F(ViewGolden, SpectrumViews) {
    Init(44100, 8192, 560, 320);
    Spectra();
    zoom = 8.0;
    firstBin = 300;
    DrawWithPeaks(DrawSpectrumLinear);
    ExpectGolden(screen, "view_linear_zoomed");

    ResetZoom();
    traceVisible[3] = 1;
    Synthesize(traces[3], -70.0f, {{100.0, -50.0f}}, 5);
    ClearSurface();
    DrawWithPeaks(DrawSpectrumLog);
    ExpectGolden(screen, "view_log");

    // The crosshair on channel 1 at about 1.3 kHz replaces the peak readout.
    HoldMouse(kPlotLeft + 355, kPlotTop + 100);
    ClearSurface();
    DrawSpectrumLog(screen);
    ExpectGolden(screen, "view_log_cursor");
}

TEST_F(ViewGolden, Waveform) {
    Init(44100, 8192, 560, 320);
    Spectra();
    for (int32_t j = 0; j < fftSize; ++j) {
        const double t = j / 44100.0;
        sampleWindow[2 * j] = static_cast<int16_t>(20000.0 * std::sin(2000.0 * kPi * t) +
                                                   8000.0 * std::sin(6000.0 * kPi * t));
        sampleWindow[2 * j + 1] = static_cast<int16_t>(32767.0 * std::sin(1400.0 * kPi * t + 1.0));
    }
    DrawWaveform(screen);
    ExpectGolden(screen, "view_waveform");
}

TEST_F(ViewGolden, BandViews) {
    const struct {
        int32_t rate, size, set;
        const char* name;
    } cases[] = {
        {44100, 8192, kModeOctave, "view_octave"},
        {8000, 2048, kModeOctave, "view_octave_8000"},
        {44100, 8192, kModeThirdOctave, "view_third"},
        {44100, 8192, kModeSixthOctave, "view_sixth"},
        {44100, 8192, kModeTwelfthOctave, "view_twelfth"},
        {8000, 2048, kModeTwelfthOctave, "view_twelfth_8000"},
    };
    for (const auto& c : cases) {
        ResetViewState();
        Init(c.rate, c.size, 560, 320);
        Spectra();
        DrawBandView(screen, c.set); // leaves the peaks of louder bands
        Shift(-10.0f);
        ClearSurface();
        DrawBandView(screen, c.set);
        ExpectGolden(screen, c.name);
        AnalyseFree();
    }
}

TEST_F(ViewGolden, SplWithEachWeighting) {
    const struct {
        int32_t weighting;
        const char* name;
    } cases[] = {{kWeightingA, "view_spl_a"},
                 {kWeightingC, "view_spl_c"},
                 {kWeightingU, "view_spl_u"},
                 {kWeightingNoise, "view_spl_noise"}};
    for (const auto& c : cases) {
        ResetViewState();
        Init(44100, 8192, 450, 200);
        splMode = 1;
        weighting = c.weighting;
        Synthesize(traces[0], -40.0f - 5.0f * c.weighting, {{1000.0, -30.0f}}, 6);
        MatchPower();
        DrawBandView(screen, kModeOctave);
        ExpectGolden(screen, c.name);
        AnalyseFree();
    }
}

TEST_F(ViewGolden, Spectrogram) {
    Init(44100, 8192, 560, 320);
    DrawSpectrogram(screen, 1);
    // Older rows: levels falling from 0 dB on the left through the whole hue cycle to below
    // -75 dB on the right; newer rows: a tone sweeping up over a quiet floor.
    for (int row = 0; row < plotHeight; ++row) {
        for (int32_t b = 0; b < binCount; ++b) {
            traces[0][b] =
                row < plotHeight / 2
                    ? static_cast<float>(-90.0 * b / binCount)
                    : (std::abs(b - 10 * (row - plotHeight / 2) - 100) < 6 ? -5.0f : -82.0f);
        }
        MatchPower();
        ClearSurface();
        DrawSpectrogram(screen, 0);
    }
    ExpectGolden(screen, "view_spectrogram");

    // Paused: the image stands still while the readout follows a new peak.
    paused = 1;
    headless::SetTime(5000);
    Flat(0, -90.0f);
    traces[0][1500] = -3.0f;
    powerHistory[0][1500] = 1.0f;
    ClearSurface();
    DrawSpectrogram(screen, 0);
    ExpectGolden(screen, "view_spectrogram_paused");
}

TEST_F(ViewGolden, TransferViews) {
    displayMode = kModeTransferLinear;
    Init(44100, 8192, 560, 320);
    Transfer(0.5);
    DrawTransferLinear(screen);
    ExpectGolden(screen, "view_transfer_linear");

    // 400% shows +-25 dB: the larger differences are clipped at the plot's edges.
    verticalScale = 0.5;
    ClearSurface();
    DrawTransferLog(screen);
    ExpectGolden(screen, "view_transfer_log");

    // A delay of 0.5 ms on channel 2: the phase turns once every 2 kHz.
    verticalScale = 2.0;
    ClearSurface();
    DrawPhaseLog(screen);
    ExpectGolden(screen, "view_phase_log");
}

// A whole frame of the running analyzer: level meters of a half-scale sine over the linear
// view of the synthetic spectra, drawn while paused.
class FrameGolden : public RunningViewTest {};

TEST_F(FrameGolden, LinearViewWithLevelMeters) {
    Start(1000.0, 560, 320, kModeLinear, true);
    // What the analysis found so far leaves no trace: the peaks start afresh.
    paused = 1;
    ResetPeakHold();
    peakReadoutHold = PeakReadoutHold();
    Synthesize(traces[0], -30.0f, {{1000.0, -8.0f}, {3000.0, -30.0f}}, 7);
    Synthesize(traces[1], -45.0f, {{1000.0, -20.0f}}, 8);
    MatchPower();
    ASSERT_EQ(run.RunBlocks(1), 1);
    ExpectGolden(app.screen, "view_frame_linear");
}

} // namespace
