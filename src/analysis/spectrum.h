// The per-frame analysis: the sample window becomes one dB spectrum per live channel in
// `traces`, and in the transfer modes the phase difference in `phaseTrace`. User-interface
// thread only, between AnalyseInit and AnalyseFree.
#pragma once

#include <cstdint>

// Windowing, FFT per live channel, phase (transfer modes), power, averaging, dB with gain and
// weighting, decay and smoothing, in that order; counts the analysis. Allocates nothing. Does
// nothing while the analysis arrays are missing (a failed set-up).
void Analyse(const int16_t* window);

// Windows the N frames of window into fftBuffers by monitorMode (with swapChannels and, in
// Stereo, the delay line) and sets the five trace colours.
void WindowInput(const int16_t* window);
// Sets the five trace colours: Traces A, B and C, and the live ones by monitorMode.
void SetTraceColours();
