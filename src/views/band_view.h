// The band views: octave, 1/3, 1/6 and 1/12 octave bars of every visible trace by power
// summation of the bins in each band, with peak markers; and the SPL reading above the octave
// bars. User-interface thread only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "analysis/bands.h"

class CDib;

struct SplHold {
    float reading = 0.0f;
    uint32_t time = 0;
};
extern SplHold splHold;

// The band table a display mode shows: its own for the band modes, the octave one for SPL, 0
// for a mode without bands.
int32_t BandSetOfMode(int32_t mode);

// bandSet is the display mode whose table is used: kModeOctave .. kModeTwelfthOctave.
void DrawBandView(CDib& surface, int32_t bandSet);

// The bands of table that the view computes: up to the first whose upper edge reaches half the
// sample rate.
int BandsBelowNyquist(const BandTable& table);

// Levels in dB of the first n bands of table for one trace: the power sum of the bins in each
// band, floorDb where every bin lies at the floor or no bin fell into the band; measured[j]
// tells whether any did.
void SumBands(const BandTable& table, int n, const float* trace, double* levels, bool* measured);
// The same levels as the view shows them: bands that no bin reached are filled in from their
// nearest neighbours (see the definition).
void GatherBands(const BandTable& table, int n, const float* trace, double* levels);

// The sound-level reading for the octave levels of channel 1 (n bands), with the calibration.
float SplReading(const double* levels, int n);
// The unit of the reading for a weighting: "dB", "dBA", "dBC", "dBU" or "dBN".
const char* SplUnit(int32_t weighting);
// "SPL: 94.0dBA": the reading with the unit of the weighting in use.
void FormatSplText(char* text, std::size_t size, float reading, int32_t weighting);
