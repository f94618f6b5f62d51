// Phase difference between the two live channels in the transfer modes. User-interface thread
// only (PhaseDegrees: any thread).
#pragma once

// Phase in degrees of the bin value re + i im in the usual e^(-i...) convention: the transform's
// positive exponent makes it the negated angle. 0 when im is exactly 0, -90 or +90 when re is 0.
double PhaseDegrees(double re, double im);

// phaseTrace[i] = phase of channel 1 minus phase of channel 2 for every bin, wrapped into
// [-180, 180], averaged by the averaging factor (on every analysis) and smoothed across bins.
// DC and half the sample rate are real, so their phase is 0.
void UpdatePhase();
