// The analysis arrays and their set-up for one sample rate and FFT size. User-interface thread
// only, with capture stopped while the arrays are replaced.
#pragma once

#include <cstdint>

#include "state/state.h"

// N = fftSize, B = binCount = N / 2 + 1. All null outside AnalyseInit .. AnalyseFree.
extern int16_t* sampleWindow;                // N frames of left, right as captured
extern float* windowTable;                   // N: Hann window
extern float* fftBuffers[kLiveChannelMax];   // N each: windowed input, then the packed spectrum
extern float* traces[kTraceCount];           // B each: dB per bin
extern float* powerHistory[kLiveChannelMax]; // B each: averaged linear power per bin
extern float* phaseTrace;                    // B: channel 1 minus channel 2, degrees
extern float* weightingCurve;                // B: dB added to each bin

// Resets the analysis settings, derives the bin geometry, allocates and fills every array and
// sets the delay line up again. Returns false, with every array released and null, when memory
// cannot be had; the analysis then stays unavailable until a later set-up succeeds.
bool AnalyseInit(int32_t rate, int32_t size);

// Releases every array and nulls its pointer; may be repeated.
void AnalyseFree();

// True between a successful AnalyseInit and the next AnalyseFree.
bool AnalysisReady();

// Fills windowTable with the Hann window for the current fftSize.
void BuildWindow();

// Stores delayMs, derives delaySamples and (re)initialises the delay line for it. Returns false
// after telling the user when the delay line cannot be set up.
bool SetDelay(double ms);
