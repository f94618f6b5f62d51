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
#include "app/state.h"

namespace {

// Trace colours as 5-5-5 colour words of the drawing surface.
constexpr uint16_t kGreen = 0x03E0;   // (0, 255, 0)
constexpr uint16_t kYellow = 0x7FE0;  // (255, 255, 0)
constexpr uint16_t kMagenta = 0x7C1F; // (255, 0, 255)
constexpr uint16_t kBlue = 0x001F;    // (0, 0, 255)
constexpr uint16_t kRed = 0x7C00;     // (255, 0, 0)

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

void WindowInput(const int16_t* x) {
    traceColour[2] = kMagenta;
    traceColour[3] = kBlue;
    traceColour[4] = kRed;

    const int32_t n = fftSize;
    const float* w = windowTable;
    float* out0 = fftBuffers[0];
    float* out1 = fftBuffers[1];
    const int s = swapChannels ? 1 : 0;
    switch (monitorMode) {
    case kMonitorLeft:
    case kMonitorRight: {
        const int channel = monitorMode == kMonitorLeft ? s : 1 - s;
        const uint16_t colour = monitorMode == kMonitorLeft ? kGreen : kYellow;
        traceColour[0] = colour;
        traceColour[1] = colour;
        for (int32_t j = 0; j < n; ++j)
            out0[j] =
                static_cast<float>(x[2 * j + channel] * static_cast<double>(w[j]) * kPerFullScale);
        break;
    }
    case kMonitorStereo:
        traceColour[0] = kGreen;
        traceColour[1] = kYellow;
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
        traceColour[0] = kGreen;
        traceColour[1] = kGreen;
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
            double level = floorDb;
            if (p != 0.0) {
                level = kDbPerNeper * std::log(p) - 32.0 + gainDb;
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
