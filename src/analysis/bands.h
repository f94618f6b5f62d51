// The band tables of the octave and fractional-octave views: rows of lower edge, centre and upper
// edge in Hz, the upper edge of each row being the lower edge of the next. Any thread.
#pragma once

#include <cstdint>

struct Band {
    float lower;
    float centre;
    float upper;
};

struct BandTable {
    const Band* rows;
    int32_t count;
};

// The table of a band display mode: kModeOctave (11 rows), kModeThirdOctave (32),
// kModeSixthOctave (64) or kModeTwelfthOctave (128); an empty table for any other mode.
BandTable BandsFor(int32_t displayMode);
