// Phase difference between the two live channels in the transfer modes. User-interface thread
// only (PhaseDegrees4: any thread).
#pragma once

#include <cstdint>

// Phases in degrees of the four bin values held as (re, im) pairs in pairs[0..7], in the usual
// e^(-i...) convention (the transform's positive exponent makes it the negated angle): 0 when im
// is exactly 0, -90 or +90 exactly when re is 0. Accurate to float precision (2e-5 degrees).
void PhaseDegrees4(const float* pairs, float* degrees);

// phaseTrace[i] = phase of channel 1 minus phase of channel 2 for every bin, wrapped into
// [-180, 180], averaged by the averaging factor (on every analysis) and smoothed across bins.
// DC and half the sample rate are real, so their phase is 0.
void UpdatePhase();
