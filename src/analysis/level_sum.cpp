// Energy sum of band levels for the SPL reading. Reads floorDb, which only the user-interface
// thread writes.
#include "analysis/level_sum.h"

#include <cmath>

#include "app/state.h"

void ResetLevelSum(LevelSum& sum) {
    sum.count = 0;
    sum.energy = 0.0;
    sum.maximum = floorDb;
}

void AddLevel(LevelSum& sum, double level) {
    if (!(level > floorDb))
        return;
    if (level > sum.maximum)
        sum.maximum = level;
    sum.energy += std::pow(10.0, 0.1 * level);
    ++sum.count;
}

double LevelSumDb(const LevelSum& sum) {
    return sum.count == 0 ? floorDb : 10.0 * std::log10(sum.energy);
}
