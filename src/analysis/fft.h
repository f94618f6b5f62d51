// In-place FFTs of the analysis: a radix-2 complex transform and the real-input transform built
// on it, both scaled by 1/sqrt(n) and using the positive exponent. Any thread: the functions share
// only read-only tables, built once on first use.
#pragma once

#include <cstdint>

// Largest transform size, in complex values for ComplexFft and in real values for RealFft.
constexpr int32_t kFftMaxSize = 32768;

// Transforms n complex values held as (re, im) pairs at [2q], [2q + 1]:
// X[k] = 1/sqrt(n) * sum over j of x[j] * e^(+2 pi i d j k / n), direction d = 1 or -1.
// n must be a power of two from 1 to kFftMaxSize; false, with the data untouched, otherwise.
bool ComplexFft(float* data, int32_t n, int direction);

// Forward (direction 1): n real values become the packed spectrum of the same transform,
// [0] = re of bin 0, [1] = re of bin n/2, [2k], [2k + 1] = re, im of bin k for 0 < k < n/2.
// Inverse (direction -1) turns a packed spectrum back into the n real values.
// n must be a power of two from 2 to kFftMaxSize; false, with the data untouched, otherwise.
bool RealFft(float* data, int32_t n, int direction);
