// Averaging, decay and smoothing of the traces, and the engine's trace queries. User-interface
// thread only.
#include "analysis/trace_processing.h"

#include <cmath>

#include "analysis/analysis_setup.h"
#include "state/state.h"

bool AveragingWeights(int32_t k, double& oldWeight, double& newWeight) {
    switch (k) {
    case 2:
    case 4:
    case 8:
    case 16:
    case 32:
    case 64:
        // Exact in binary: 1 / k is a power of two.
        newWeight = 1.0 / k;
        oldWeight = (k - 1) * newWeight;
        return true;
    default:
        return false;
    }
}

bool DecayPerFrame(double& fall) {
    if (analysisCount == 0 || decayRate == 0 || frameRate == 0)
        return false;
    fall = static_cast<double>(decayRate) / frameRate;
    return true;
}

// The ring holds the original values of the last w bins: the one leaving it was overwritten in
// a by then. Its sum is kept running in double, where adding and removing float values of dB or
// degree size is exact.
void SmoothBins(float* a, int32_t count, int32_t width) {
    if (width < 1 || width > kMaxSmoothingBins)
        return;
    float ring[kMaxSmoothingBins] = {};
    const int32_t h = width / 2;
    int32_t next = 0;
    double sum = 0.0;
    for (int32_t i = 0; i < count; ++i) {
        sum += static_cast<double>(a[i]) - ring[next];
        ring[next] = a[i];
        next = next + 1 == width ? 0 : next + 1;
        if (i >= h)
            a[i - h] = static_cast<float>(sum / width);
    }
}

void CaptureTrace(int32_t slot) {
    if (slot < 0 || slot > 2 || !AnalysisReady())
        return;
    const int32_t t = 2 + slot;
    if (traceVisible[t]) {
        traceVisible[t] = 0;
        return;
    }
    float* out = traces[t];
    for (int32_t i = 0; i < binCount; ++i) {
        if (displayMode == kModeTransferLinear || displayMode == kModeTransferLog)
            out[i] = traces[0][i] - traces[1][i];
        else if (displayMode == kModePhaseLog)
            out[i] = phaseTrace[i];
        else
            out[i] = traces[0][i];
    }
    traceVisible[t] = 1;
}

int32_t FindPeak() {
    peakBin = 0;
    peakValue = static_cast<float>(floorDb);
    if (!AnalysisReady())
        return peakBin;
    const int32_t channels = liveChannelCount == 2 ? 2 : 1;
    for (int32_t c = 0; c < channels; ++c) {
        for (int32_t bin = binCount - 1; bin > lowestPeakBin; --bin) {
            if (traces[c][bin] >= peakValue) {
                peakBin = bin;
                peakValue = traces[c][bin];
            }
        }
    }
    return peakBin;
}

// The difference is formed in float, the type peakValue keeps it in, so that equal differences
// compare equal and a tie really keeps the higher bin.
int32_t FindTransferPeak() {
    peakBin = 0;
    peakValue = 0.0f;
    if (!AnalysisReady())
        return peakBin;
    for (int32_t bin = binCount - 1; bin > lowestPeakBin; --bin) {
        const float d = traces[0][bin] - traces[1][bin];
        if (std::fabs(peakValue) < std::fabs(d)) {
            peakBin = bin;
            peakValue = d;
        }
    }
    return peakBin;
}

double PeakCentroid(int32_t k, int32_t c) {
    if (k < 0 || k >= binCount || c < 0 || c >= kLiveChannelMax || !AnalysisReady())
        return 0.0;
    const float* p = powerHistory[c];
    const double below = k == 0 ? 0.0 : p[k - 1];
    const double at = p[k];
    const double above = k == binCount - 1 ? 0.0 : p[k + 1];
    const double sum = below + at + above;
    if (sum == 0.0)
        return 0.0;
    return ((k - 1) * below + k * at + (k + 1) * above) / sum;
}

double TraceAt(double x, int32_t t) {
    if (t < 0 || t >= kTraceCount || !AnalysisReady())
        return floorDb;
    const int32_t last = binCount - 1;
    if (!(x > 0.0))
        x = 0.0;
    if (x > last)
        x = last;
    const int32_t i = static_cast<int32_t>(x);
    const double f = x - i;
    const int32_t next = i < last ? i + 1 : last;
    return (1.0 - f) * traces[t][i] + f * traces[t][next];
}

double BinToHz(double bin) {
    return bin * binWidthHz;
}

double HzToBin(double hz) {
    return hz / binWidthHz;
}
