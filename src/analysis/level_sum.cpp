// Energy sum of band levels for the SPL reading. Reads floorDb, which only the user-interface
// thread writes.
#include "analysis/level_sum.h"

#include <cmath>

#include "state/state.h"

namespace {
constexpr double kLn10 = 2.302585092994045684;
} // namespace

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
    // 10^(level / 10) as e^(level ln 10 / 10): the band views add every bin of every trace in
    // each frame, and the exponential costs a fraction of the general power.
    sum.energy += std::exp(level * (kLn10 / 10.0));
    ++sum.count;
}

double LevelSumDb(const LevelSum& sum) {
    return sum.count == 0 ? floorDb : 10.0 * std::log10(sum.energy);
}
