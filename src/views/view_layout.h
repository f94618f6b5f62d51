// What the analyzer views share: the plot geometry, the value and frequency mappings, the
// frequency window (zoom and first bin) and the peak-hold table. User-interface thread only.
#pragma once

#include <cstdint>

#include "gfx/color.h"

constexpr int kPlotLeft = 30; // left edge of every plot but the spectrogram's
constexpr int kPlotTop = 65;  // top edge of every plot but the SPL layout's
constexpr int kSpectrogramLeft = 20;
constexpr int kMinViewWidth = 450;
constexpr int kMinViewHeight = 180;
// The axes, frames and labels of every view, and the peak-hold trace wherever it is drawn.
constexpr uint16_t kWhite = MakeColor(255, 255, 255);
constexpr uint16_t kPeakColour = MakeColor(128, 255, 255);

extern int32_t plotWidth;  // W: view width - 50
extern int32_t plotHeight; // H: view height - 90
extern double zoom;        // horizontal magnification, 1.0 .. 250.0
extern int32_t firstBin;   // FFT bin at the left edge of the plot

// The peak trace: one record per plot column (spectrum views) or per band (band views).
struct PeakHoldRecord {
    uint32_t timeMs;
    float valueDb;
};
extern PeakHoldRecord* peakHoldTable;
extern int32_t peakHoldCount; // records in peakHoldTable: W + 1, and at least one per band

// Sets the plot size for a view surface of width x height (already raised to the minimum) and
// sizes the peak-hold table to it. False when the table cannot be had; the peak trace is then
// left out until a later resize succeeds.
bool SetPlotSize(int32_t width, int32_t height);

void ResetZoom();
// Every record back to the floor with time 0.
void ResetPeakHold();
// What the views keep from one drawing to the next (zoom, a drag selection, the readouts' and
// the SPL reading's holds) back to its values at launch.
void ResetViewState();

// The peak-hold rule: a record takes v when v reaches it or when it is older than the hold time
// (2000 ms, or never while peakHoldInfinite is 1).
void ApplyPeakHold(PeakHoldRecord& record, float v, uint32_t now);

// Position of v on the 15-octave axis from 1 Hz to 32768 Hz, 0..1 (0 below 1 Hz).
double LogPosition(double v);

// Frequency shown by pixel column p of a logarithmic plot whose left edge lies baseOctave
// octaves above 1 Hz (0 Hz when both are 0).
float LogColumnHz(int p, double baseOctave);

// The first column from p on at which a logarithmic plot reaches a bin above bin or a frequency
// above limitHz. Right of the plot, where only one more point is drawn, the logarithmic views
// jump there at once instead of walking a column at a time: zoomed in far at low frequencies
// that walk would take tens of thousands of columns.
int NextLogColumn(int p, double baseOctave, int32_t bin, int limitHz);

// "500", "1K", "2.5K", "12.25K": the text lives in one shared buffer until the next call.
const char* FormatFrequencyLabel(int hz);

// Value-to-row mappings, truncated toward zero and not clamped.
int SpectrumY(double db, int top, int height);
int TransferY(double db);
int PhaseY(double degrees);
int WaveformY(int sample);
