// The analyzer's settings and shared run-time state: program-wide variables read and written
// by name from the user-interface thread only (no lock; the capture thread sees none of them).
#pragma once

#include <cstdint>

// ---- Value sets ------------------------------------------------------------------------------

enum DisplayMode : int32_t {
    kModeLinear = 0,
    kModeLog = 1,
    kModeOctave = 2,
    kModeThirdOctave = 3,
    kModeSixthOctave = 4,
    kModeTwelfthOctave = 5,
    kModeSpectrogram = 6,
    kModeSpl = 7,
    kModeTransferLinear = 8,
    kModeTransferLog = 9,
    kModePhaseLog = 10,
    kModeWaveform = 11, // drawn by the frame update's dispatch, not offered in the selector
};
constexpr int kDisplayModeCount = 11; // entries of the selector (0..10)
extern const char* const kDisplayModeLabels[kDisplayModeCount];

inline bool IsTransferMode(int32_t mode) {
    return mode == kModeTransferLinear || mode == kModeTransferLog || mode == kModePhaseLog;
}

enum Weighting : int32_t {
    kWeightingNone = 0,
    kWeightingA = 1,
    kWeightingC = 2,
    kWeightingU = 3,
    kWeightingNoise = 4,
};
constexpr int kWeightingCount = 5;
extern const char* const kWeightingLabels[kWeightingCount];

enum MonitorMode : int32_t {
    kMonitorMono = 0,
    kMonitorLeft = 1,
    kMonitorRight = 2,
    kMonitorStereo = 3,
};
constexpr int kMonitorModeCount = 4;
extern const char* const kMonitorModeLabels[kMonitorModeCount];

// Each selectable value paired with the text the selector shows for it, in selector order.
struct Choice {
    int32_t value;
    const char* label;
};
constexpr int kAveragingChoiceCount = 7;
extern const Choice kAveragingChoices[kAveragingChoiceCount]; // factor k: 0 "None" .. 64 "64X"
constexpr int kDecayChoiceCount = 4;
extern const Choice kDecayChoices[kDecayChoiceCount]; // dB per second: 0, 50, 20, 10
constexpr int kSmoothingChoiceCount = 5;
extern const Choice kSmoothingChoices[kSmoothingChoiceCount]; // bins: 0, 3, 5, 7, 9
constexpr int kSampleRateChoiceCount = 4;
extern const Choice kSampleRateChoices[kSampleRateChoiceCount]; // Hz, with their menu items
constexpr int kFftSizeChoiceCount = 5;
extern const Choice kFftSizeChoices[kFftSizeChoiceCount]; // samples, with their menu items

// Index of value in choices, or -1 when it is not one of them.
int ChoiceIndex(const Choice* choices, int count, int32_t value);

constexpr int kTraceCount = 5; // live channel 1, live channel 2, Traces A, B, C
constexpr int kLiveChannelMax = 2;

// ---- Settings (the user's choices) ------------------------------------------------------------

extern int32_t displayMode;      // DisplayMode
extern int32_t sampleRate;       // Hz; set by the analysis set-up
extern int32_t fftSize;          // N; set by the analysis set-up
extern int32_t weighting;        // Weighting
extern int32_t averaging;        // averaging factor k
extern int32_t decayRate;        // dB per second
extern float gainDb;             // dB added to every spectrum value, -20..+20
extern int32_t monitorMode;      // MonitorMode
extern int32_t liveChannelCount; // 1 or 2
extern int32_t smoothingBins;    // 0, 3, 5, 7, 9
extern double delayMs;           // delay of the second channel, 0..999 ms
extern int32_t peakTraceOn;      // 0/1
extern double verticalScale;     // 0.5 "400%", 1.0 "200%", 2.0 "100%"
extern float splCalibrationDb;   // dB added to the SPL reading
extern int32_t swapChannels;     // 0/1
extern int32_t paused;           // 0/1
extern int32_t fadeDisplay;      // 0/1
extern int32_t toneType;         // 0 off, 1 white, 2 pink, 3 sine
extern int32_t toneVolume;       // 0..127

// ---- Capture-side copies
// -------------------------------------------------------------------------

extern int32_t captureRate;    // Hz of the running capture
extern int32_t captureFftSize; // frames in the sample window
extern int32_t blockFrames;    // frames per capture block: 512 at <= 8000 Hz, else 2048
extern int32_t windowFill;     // frames in the sample window while it first fills
extern int32_t windowShifted;  // 1 between shifting the window and receiving the newest block

// ---- Derived and run-time state -----------------------------------------------------------------

extern int32_t binCount;      // fftSize / 2 + 1
extern double binWidthHz;     // sampleRate / fftSize
extern double topDb;          // 20.0
extern double floorDb;        // -100.0: the level of a bin without power
extern int32_t lowestPeakBin; // trunc(20.0 / binWidthHz)
extern uint8_t traceVisible[kTraceCount];
extern uint16_t traceColour[kTraceCount];
extern int32_t analysisCount;
extern int32_t frameRate;
extern int32_t peakBin;
extern float peakValue;
extern int32_t delaySamples;
extern int32_t transferMode;
extern int32_t splMode;
extern int32_t spectrogramReset;
extern float meterHoldDb;
extern uint32_t meterHoldTime;

// ---- Toggles of the view and the tool bars ------------------------------------------------------

extern int32_t liveTracesShown;  // 1 draws the live traces (the Space key toggles it)
extern int32_t peakHoldInfinite; // 1 holds the peak trace until zoom, scroll or a reset
extern int32_t toneBarVisible;   // 1 shows the tone generator's bar

// Puts every variable above back to its initial value (as at program start).
void ResetAnalyzerState();

// Brings the trace flags of the live channels in line with monitorMode.
void SyncLiveTraceFlags();
