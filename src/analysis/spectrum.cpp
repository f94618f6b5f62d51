// The per-frame analysis from the sample window to the live dB traces. User-interface thread
// only; everything it touches was allocated by the analysis set-up.
#include "analysis/spectrum.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "analysis/analysis_setup.h"
#include "analysis/delay_line.h"
#include "analysis/fft.h"
#include "analysis/phase.h"
#include "analysis/trace_processing.h"
#include "gfx/color.h"
#include "state/state.h"

namespace {

// 10 * log10(p) through the natural logarithm, which the C library computes about twice as
// fast; the two differ in the last bits of a double, far below the float the level is kept in.
const double kDbPerNeper = 10.0 / std::log(10.0);

// Samples are scaled to full scale by multiplying with the reciprocal: a division per sample
// would cost more than the rest of the windowing, and the two agree to far below float precision.
const double kPerFullScale = 1.0 / 32767.0;
const double kPerMonoFullScale = 1.0 / 65534.0;

// Power of bin i of a packed spectrum: DC and half the sample rate have real parts only.
double BinPower(const float* spectrum, int32_t i, int32_t bins) {
    if (i == 0)
        return static_cast<double>(spectrum[0]) * spectrum[0];
    if (i == bins - 1)
        return static_cast<double>(spectrum[1]) * spectrum[1];
    const double re = spectrum[2 * i];
    const double im = spectrum[2 * i + 1];
    return re * re + im * im;
}

} // namespace

void SetTraceColours() {
    const uint16_t green = MakeColor(0, 255, 0);
    const uint16_t yellow = MakeColor(255, 255, 0);
    // Mono and any value outside the set like Mono.
    traceColour[0] = monitorMode == kMonitorRight ? yellow : green;
    traceColour[1] = monitorMode == kMonitorRight || monitorMode == kMonitorStereo ? yellow : green;
    traceColour[2] = MakeColor(255, 0, 255);
    traceColour[3] = MakeColor(0, 0, 255);
    traceColour[4] = MakeColor(255, 0, 0);
}

void WindowInput(const int16_t* x) {
    SetTraceColours();
    const int32_t n = fftSize;
    const float* w = windowTable;
    float* out0 = fftBuffers[0];
    float* out1 = fftBuffers[1];
    const int s = swapChannels ? 1 : 0;
    switch (monitorMode) {
    case kMonitorLeft:
    case kMonitorRight: {
        const int channel = monitorMode == kMonitorLeft ? s : 1 - s;
        for (int32_t j = 0; j < n; ++j)
            out0[j] =
                static_cast<float>(x[2 * j + channel] * static_cast<double>(w[j]) * kPerFullScale);
        break;
    }
    case kMonitorStereo:
        if (DelayLineActive()) {
            delayLine.Push(x, n);
            for (int32_t j = 0; j < n; ++j) {
                int16_t a = delayLine.ReadA();
                int16_t b = delayLine.ReadB();
                if (s)
                    std::swap(a, b);
                out0[j] = static_cast<float>(a * static_cast<double>(w[j]) * kPerFullScale);
                out1[j] = static_cast<float>(b * static_cast<double>(w[j]) * kPerFullScale);
            }
        } else {
            for (int32_t j = 0; j < n; ++j) {
                out0[j] =
                    static_cast<float>(x[2 * j + s] * static_cast<double>(w[j]) * kPerFullScale);
                out1[j] = static_cast<float>(x[2 * j + 1 - s] * static_cast<double>(w[j]) *
                                             kPerFullScale);
            }
        }
        break;
    default: // Mono, and any value outside the set
        for (int32_t j = 0; j < n; ++j) {
            const double sum = static_cast<double>(x[2 * j]) + x[2 * j + 1];
            out0[j] = static_cast<float>(sum * w[j] * kPerMonoFullScale);
        }
        break;
    }
}

void Analyse(const int16_t* window) {
    if (window == nullptr || !AnalysisReady())
        return;
    const int32_t bins = binCount;
    const int32_t channels = liveChannelCount == 2 ? 2 : 1;
    const bool transfer = IsTransferMode(displayMode);

    WindowInput(window);
    for (int32_t c = 0; c < channels; ++c)
        RealFft(fftBuffers[c], fftSize, 1);
    if (transfer)
        UpdatePhase();

    double oldWeight = 0.0, newWeight = 1.0;
    const bool averaged = AveragingWeights(averaging, oldWeight, newWeight) && analysisCount != 0;
    double fall = 0.0;
    const bool decays = DecayPerFrame(fall);
    // Read once: the stores into the traces could alias these globals as far as the compiler
    // knows, which would reload them for every bin.
    const double gain = gainDb;
    const double floor = floorDb;
    for (int32_t c = 0; c < channels; ++c) {
        const float* spectrum = fftBuffers[c];
        float* history = powerHistory[c];
        float* trace = traces[c];
        // In the transfer modes the weighting corrects channel 1's path only.
        const float* weight = transfer && c == 1 ? nullptr : weightingCurve;
        for (int32_t i = 0; i < bins; ++i) {
            double p = BinPower(spectrum, i, bins);
            if (averaged)
                p = history[i] * oldWeight + p * newWeight;
            double level = floor;
            if (p != 0.0) {
                level = kDbPerNeper * std::log(p) - 32.0 + gain;
                if (weight != nullptr)
                    level += weight[i];
            }
            if (decays) // no lower than the fall allows; a branch here would mispredict on noise
                level = std::max(level, trace[i] - fall);
            trace[i] = static_cast<float>(level);
            history[i] = static_cast<float>(p);
        }
    }
    if (smoothingBins != 0) {
        for (int32_t c = 0; c < channels; ++c)
            SmoothBins(traces[c], bins, smoothingBins);
    }
    ++analysisCount;
}
