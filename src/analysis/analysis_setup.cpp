// Allocation and initial contents of the analysis arrays for one sample rate and FFT size.
// User-interface thread only, with capture stopped.
#include "analysis/analysis_setup.h"

#include <cmath>

#include "analysis/delay_line.h"
#include "port/messages.h"
#include "port/port.h"
#include "state/alloc.h"

int16_t* sampleWindow = nullptr;
float* windowTable = nullptr;
float* fftBuffers[kLiveChannelMax] = {};
float* traces[kTraceCount] = {};
float* powerHistory[kLiveChannelMax] = {};
float* phaseTrace = nullptr;
float* weightingCurve = nullptr;

namespace {

void Fill(float* a, int32_t count, float value) {
    for (int32_t i = 0; i < count; ++i)
        a[i] = value;
}

} // namespace

bool AnalyseInit(int32_t rate, int32_t size) {
    if (IsTransferMode(displayMode)) {
        monitorMode = kMonitorStereo;
        liveChannelCount = 2;
    } else {
        monitorMode = kMonitorMono;
        liveChannelCount = 1;
    }
    traceVisible[0] = 1;
    for (int t = 1; t < kTraceCount; ++t)
        traceVisible[t] = 0;

    sampleRate = rate;
    fftSize = size;
    topDb = 20.0;
    floorDb = -100.0;
    decayRate = 20;
    averaging = 0;
    gainDb = 0.0f;
    weighting = kWeightingNone;
    analysisCount = 0;

    binCount = size / 2 + 1;
    binWidthHz = static_cast<double>(rate) / size;
    lowestPeakBin = static_cast<int32_t>(20.0 / binWidthHz);

    const size_t n = static_cast<size_t>(size);
    const size_t b = static_cast<size_t>(binCount);
    bool ok = true;
    for (float*& t : traces)
        ok = (t = AllocArray<float>(b)) != nullptr && ok;
    for (float*& f : fftBuffers)
        ok = (f = AllocArray<float>(n)) != nullptr && ok;
    for (float*& p : powerHistory)
        ok = (p = AllocArray<float>(b)) != nullptr && ok;
    ok = (weightingCurve = AllocArray<float>(b)) != nullptr && ok;
    ok = (windowTable = AllocArray<float>(n)) != nullptr && ok;
    ok = (phaseTrace = AllocArray<float>(b)) != nullptr && ok;
    ok = (sampleWindow = AllocArray<int16_t>(2 * n)) != nullptr && ok;
    if (!ok) {
        AnalyseFree();
        return false;
    }

    Fill(weightingCurve, binCount, 0.0f);
    Fill(phaseTrace, binCount, 0.0f);
    for (float* t : traces)
        Fill(t, binCount, static_cast<float>(floorDb));
    // Power history and the FFT buffers are written before they are read; they start clean so
    // that nothing depends on what the allocator left there.
    for (float* p : powerHistory)
        Fill(p, binCount, 0.0f);
    for (float* f : fftBuffers)
        Fill(f, size, 0.0f);
    for (size_t i = 0; i < 2 * n; ++i)
        sampleWindow[i] = 0;

    BuildWindow();
    SetDelay(delayMs);
    return true;
}

void AnalyseFree() {
    for (float*& t : traces)
        FreeArray(t);
    for (float*& f : fftBuffers)
        FreeArray(f);
    for (float*& p : powerHistory)
        FreeArray(p);
    FreeArray(weightingCurve);
    FreeArray(windowTable);
    FreeArray(phaseTrace);
    FreeArray(sampleWindow);
}

bool AnalysisReady() {
    return sampleWindow != nullptr;
}

void BuildWindow() {
    const int32_t h = fftSize / 2;
    const double pi = 3.14159265358979323846;
    for (int32_t i = 0; i < h; ++i) {
        const float w = static_cast<float>(0.5 - 0.5 * std::cos(pi * i / h));
        windowTable[i] = w;
        windowTable[fftSize - 1 - i] = w;
    }
}

bool SetDelay(double ms) {
    delayMs = ms;
    delaySamples = static_cast<int32_t>(sampleRate * ms * 0.001);
    if (delaySamples == 0)
        return true;
    if (!delayLine.Init(fftSize, 0, delaySamples)) {
        port::ShowMessage("DelayLine Init Error", "AnalyseInit", MB_OK);
        return false;
    }
    return true;
}
