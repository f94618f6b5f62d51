// The band views: octave, 1/3, 1/6 and 1/12 octave bars of every visible trace by power
// summation of the bins in each band, with peak markers; and the SPL reading above the octave
// bars. User-interface thread only.
#pragma once

#include <cstdint>

class CDib;

struct SplHold {
    float reading;
    uint32_t time;
};
extern SplHold splHold;

// bandSet is the display mode whose table is used: kModeOctave .. kModeTwelfthOctave.
void DrawBandView(CDib& surface, int32_t bandSet);

// The sound-level reading for the octave levels of channel 1 (n bands), with the calibration.
float SplReading(const double* levels, int n);
