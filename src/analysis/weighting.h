// Weighting curves: A, C and U by formula, and a noise weighting taken from the live spectrum.
// User-interface thread only (WeightingDb: any thread).
#pragma once

#include <cstdint>

// The weighting w (Weighting) at f Hz in dB; 0 at 0 Hz, for no weighting and for any other w.
// Results within 0.0001 dB of 0 (A, C) or 0.1 dB (U) are exactly 0.
double WeightingDb(float f, int32_t w);

// Fills weightingCurve with weighting w for every bin (bin 0 weighted as if it were 1 Hz). This
// and CaptureNoiseWeighting do nothing while the analysis arrays are missing.
void BuildWeighting(int32_t w);

// Fills weightingCurve so that the current live trace of channel 1 would read a flat -105 dB.
void CaptureNoiseWeighting();
