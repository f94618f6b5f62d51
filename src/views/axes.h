// Graduated axes with grid lines and labels, and the label tables of the views.
// User-interface thread only.
#pragma once

#include <cstdint>

class CDib;

// Flags of the axis routines.
constexpr int kAxisGrid = 2;       // value axis: grid lines across the plot
constexpr int kAxisNoLabels = 4;   // value axis: ticks only
constexpr int kAxisRightTicks = 8; // value axis: ticks at the right edge
constexpr int kAxisCentred = 1;    // category axis: marks in the middle of each slot

struct LabelSet {
    int divisions;
    int labelEvery;
    const char* const* labels;
};

extern const LabelSet kDbLabels;          // spectrum and band views: "0db" .. "-100"
extern const LabelSet kWaveformLabels;    // "+100" .. "-100"
extern const char* const kBandLabels[12]; // "16" .. "32K"

// The transfer and phase label sets for the current verticalScale.
const LabelSet& TransferLabels();
const LabelSet& PhaseLabels();

// A vertical axis between rows y0 and y1 at the plot's left edge x0 (the plot ends at x1).
void DrawValueAxis(CDib& surface, int y0, int y1, int x0, int x1, int divisions, int labelEvery,
                   int flags, const char* const* labels);
inline void DrawValueAxis(CDib& surface, int y0, int y1, int x0, int x1, const LabelSet& set,
                          int flags) {
    DrawValueAxis(surface, y0, y1, x0, x1, set.divisions, set.labelEvery, flags, set.labels);
}
// A horizontal axis under bars, from x0 to x1 at row y, with n slots.
void DrawCategoryAxis(CDib& surface, int x0, int x1, int y, int n, int labelEvery, int flags,
                      const char* const* labels);
// Frequency axes of a plot whose left edge shows startHz (whole hertz) at magnification zoom.
void DrawLinearFrequencyAxis(CDib& surface, int left, int bottom, int width, int startHz,
                             double zoom);
void DrawLogFrequencyAxis(CDib& surface, int left, int bottom, int width, float startHz,
                          double zoom);
