// The analyzer's settings and shared run-time state with their initial values and value sets.
// User-interface thread only.
#include "state/state.h"

const char* const kDisplayModeLabels[kDisplayModeCount] = {
    "Linear",      "Log",         "Octave", "1/3 Octave",        "1/6 Octave",
    "1/12 Octave", "Spectrogram", "SPL",    "Transfer (Linear)", "Transfer (Log)",
    "Phase (Log)"};

const char* const kWeightingLabels[kWeightingCount] = {"None", "A-Weighting", "C-Weighting",
                                                       "U-Weighting", "Noise Weighting"};

const char* const kMonitorModeLabels[kMonitorModeCount] = {"Mono", "Left", "Right", "Stereo"};

const Choice kAveragingChoices[kAveragingChoiceCount] = {
    {0, "None"}, {2, "2X"}, {4, "4X"}, {8, "8X"}, {16, "16X"}, {32, "32X"}, {64, "64X"}};

const Choice kDecayChoices[kDecayChoiceCount] = {
    {0, "None"}, {50, "Fast"}, {20, "Medium"}, {10, "Slow"}};

const Choice kSmoothingChoices[kSmoothingChoiceCount] = {
    {0, "None"}, {3, "3"}, {5, "5"}, {7, "7"}, {9, "9"}};

const Choice kSampleRateChoices[kSampleRateChoiceCount] = {
    {44100, "44.1KHz"}, {22050, "22KHz"}, {11025, "11KHz"}, {8000, "8KHz"}};

const Choice kFftSizeChoices[kFftSizeChoiceCount] = {
    {2048, "2K"}, {4096, "4K"}, {8192, "8K"}, {16384, "16K"}, {32768, "32K"}};

int ChoiceIndex(const Choice* choices, int count, int32_t value) {
    for (int i = 0; i < count; ++i) {
        if (choices[i].value == value)
            return i;
    }
    return -1;
}

int32_t displayMode;
int32_t sampleRate;
int32_t fftSize;
int32_t weighting;
int32_t averaging;
int32_t decayRate;
float gainDb;
int32_t monitorMode;
int32_t liveChannelCount;
int32_t smoothingBins;
double delayMs;
int32_t peakTraceOn;
double verticalScale;
float splCalibrationDb;
int32_t swapChannels;
int32_t paused;
int32_t fadeDisplay;
int32_t toneType;
int32_t toneVolume;

int32_t captureRate;
int32_t captureFftSize;
int32_t blockFrames;
int32_t windowFill;
int32_t windowShifted;

int32_t binCount;
double binWidthHz;
double topDb;
double floorDb;
int32_t lowestPeakBin;
uint8_t traceVisible[kTraceCount];
uint16_t traceColour[kTraceCount];
int32_t analysisCount;
int32_t frameRate;
int32_t peakBin;
float peakValue;
int32_t delaySamples;
int32_t transferMode;
int32_t splMode;
int32_t spectrogramReset;
float meterHoldDb;
uint32_t meterHoldTime;

int32_t liveTracesShown;
int32_t peakHoldInfinite;
int32_t toneBarVisible;

void ResetAnalyzerState() {
    displayMode = kModeLinear;
    sampleRate = 0;
    fftSize = 0;
    weighting = kWeightingNone;
    averaging = 0;
    decayRate = 20;
    gainDb = 0.0f;
    monitorMode = kMonitorMono;
    liveChannelCount = 1;
    smoothingBins = 0;
    delayMs = 0.0;
    peakTraceOn = 1;
    verticalScale = 1.0;
    splCalibrationDb = 100.0f;
    swapChannels = 0;
    paused = 0;
    fadeDisplay = 0;
    toneType = 0;
    toneVolume = 64;

    captureRate = 44100;
    captureFftSize = 8192;
    blockFrames = 2048;
    windowFill = 0;
    windowShifted = 0;

    binCount = 0;
    binWidthHz = 0.0;
    topDb = 20.0;
    floorDb = -100.0;
    lowestPeakBin = 0;
    for (int i = 0; i < kTraceCount; ++i) {
        traceVisible[i] = 0;
        traceColour[i] = 0;
    }
    traceVisible[0] = 1;
    analysisCount = 0;
    frameRate = 1;
    peakBin = 0;
    peakValue = 0.0f;
    delaySamples = 0;
    transferMode = 0;
    splMode = 0;
    spectrogramReset = 1;
    meterHoldDb = -100.0f;
    meterHoldTime = 0;

    liveTracesShown = 1;
    peakHoldInfinite = 0;
    toneBarVisible = 0;
}

void SyncLiveTraceFlags() {
    traceVisible[0] = 1;
    traceVisible[1] = monitorMode == kMonitorStereo ? 1 : 0;
}

namespace {
// Program-wide variables start at their initial values before any code of the program runs.
struct InitialState {
    InitialState() { ResetAnalyzerState(); }
} initialState;
} // namespace
