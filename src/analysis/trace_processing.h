// Time and frequency processing of the traces (averaging, decay, smoothing) and the queries the
// readouts ask of the engine: trace capture, peak search, peak centroid, interpolation between
// bins, bin and frequency conversion. User-interface thread only. While the analysis arrays are
// missing (a failed set-up) the queries answer as for an empty spectrum and change nothing.
#pragma once

#include <cstdint>

// Widest moving average across bins that SmoothBins carries out.
constexpr int32_t kMaxSmoothingBins = 9;

// Weights of the exponential average by factor k: (k - 1) / k for the old value and 1 / k for
// the new one, for k = 2, 4, ..., 64. False, with the weights untouched, for any other k (no
// averaging).
bool AveragingWeights(int32_t k, double& oldWeight, double& newWeight);

// The fall in dB allowed per frame (decayRate / frameRate); false when decay is off: on the
// first analysis after a set-up and while decayRate or frameRate is 0.
bool DecayPerFrame(double& fall);

// Moving average of width w across the count values of a, in place: a ring of w values, zeros at
// first, takes each a[i] in turn, and from i = w / 2 on a[i - w / 2] becomes the ring's mean. The
// last w / 2 values keep their own. Widths outside 1..kMaxSmoothingBins leave a as it is.
void SmoothBins(float* a, int32_t count, int32_t width);

// Captures (slot 0, 1, 2 for Trace A, B, C) what the current display mode shows into that trace
// and shows it, or releases a trace that is shown. Other slots do nothing.
void CaptureTrace(int32_t slot);

// Strongest bin above lowestPeakBin over the live channels; sets peakBin and peakValue. Ties go
// to the lower bin, and between channels to the later channel. 0 when nothing reaches floorDb.
int32_t FindPeak();

// Bin above lowestPeakBin where channel 1 and channel 2 differ most in dB (either sign); sets
// peakBin and peakValue (the difference). Ties keep the higher bin.
int32_t FindTransferPeak();

// Power-weighted mean bin of bin k and its two neighbours of live channel c; 0.0 when the three
// hold no power or k or c is out of range.
double PeakCentroid(int32_t k, int32_t c);

// Trace t read at a fractional bin, linearly interpolated; x is held to the bins there are.
// floorDb for a trace t outside 0..4.
double TraceAt(double x, int32_t t);

double BinToHz(double bin);
double HzToBin(double hz);
