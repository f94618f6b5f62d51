// The frame's analysis takes no memory from the heap: Analyse runs in each of its paths between
// two readings of this thread's allocation count.
#include <gtest/gtest.h>

#include "alloc_counter.h"
#include "analysis/spectrum.h"
#include "analysis/weighting.h"
#include "analysis_test_support.h"

namespace {

using namespace analysis_test;

class AnalyseAllocation : public AnalysisTest {};

TEST_F(AnalyseAllocation, NoPathOfTheAnalysisAllocates) {
    const alloc_counter::ScopedCount counting;
    struct Path {
        int32_t display;
        int32_t monitor;
        double delay;
        int32_t smoothing;
    };
    for (const Path path :
         {Path{kModeLinear, kMonitorMono, 0.0, 0}, Path{kModeLog, kMonitorLeft, 0.0, 5},
          Path{kModeLinear, kMonitorRight, 0.0, 0}, Path{kModeLinear, kMonitorStereo, 0.0, 3},
          Path{kModeTransferLog, kMonitorStereo, 0.0, 9},
          Path{kModePhaseLog, kMonitorStereo, 20.0, 7}}) {
        displayMode = path.display;
        delayMs = path.delay;
        const long setupStart = alloc_counter::Counted();
        Init(44100, 8192);
        ASSERT_GT(alloc_counter::Counted(), setupStart); // the count sees the set-up's arrays
        monitorMode = path.monitor;
        liveChannelCount = path.monitor == kMonitorStereo ? 2 : 1;
        smoothingBins = path.smoothing;
        averaging = 8;
        decayRate = 10;
        frameRate = 25;
        BuildWeighting(kWeightingA);
        FillWindow([](int32_t j, int16_t& left, int16_t& right) {
            left = static_cast<int16_t>((j * 7919) % 30000 - 15000);
            right = static_cast<int16_t>((j * 104729) % 30000 - 15000);
        });
        Analyse(sampleWindow); // the first analysis may build the FFT's tables (static storage)
        const long before = alloc_counter::Counted();
        for (int frame = 0; frame < 3; ++frame)
            Analyse(sampleWindow);
        const long after = alloc_counter::Counted();
        EXPECT_EQ(after, before) << "display " << path.display << " monitor " << path.monitor;
        AnalyseFree();
    }
}

} // namespace
