// Energy sum of band levels for the SPL reading. Any thread (each record belongs to its caller).
#pragma once

#include <cstdint>

struct LevelSum {
    int32_t count;  // levels added
    double energy;  // sum of 10^(level / 10)
    double maximum; // largest level added; floorDb after a reset
};

void ResetLevelSum(LevelSum& sum);

// Adds one level in dB; levels at or below floorDb (and NaN) are not counted.
void AddLevel(LevelSum& sum, double level);

// The levels added, summed on an energy basis, in dB; floorDb when none was counted.
double LevelSumDb(const LevelSum& sum);
