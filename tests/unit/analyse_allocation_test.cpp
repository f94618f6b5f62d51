// The frame's analysis takes no memory from the heap: this test binary counts every operator new
// and runs Analyse in each of its paths between two readings of the count.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "analysis/spectrum.h"
#include "analysis/weighting.h"
#include "analysis_test_support.h"

namespace {
std::atomic<long> heapAllocations{0};

void* Allocate(std::size_t size) {
    heapAllocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
} // namespace

void* operator new(std::size_t size) {
    if (void* p = Allocate(size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using namespace analysis_test;

class AnalyseAllocation : public AnalysisTest {};

TEST_F(AnalyseAllocation, NoPathOfTheAnalysisAllocates) {
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
        const long setupStart = heapAllocations.load();
        Init(44100, 8192);
        ASSERT_GT(heapAllocations.load(), setupStart); // the count sees the set-up's arrays
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
        const long before = heapAllocations.load();
        for (int frame = 0; frame < 3; ++frame)
            Analyse(sampleWindow);
        const long after = heapAllocations.load();
        EXPECT_EQ(after, before) << "display " << path.display << " monitor " << path.monitor;
        AnalyseFree();
    }
}

} // namespace
