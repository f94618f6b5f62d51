// The capture worker allocates nothing once it records: the worker has its allocations counted
// from its first callback on.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "alloc_counter.h"
#include "audio/wave_in_thread.h"
#include "port/headless/headless.h"

namespace {

std::atomic<int> stored{0};
std::atomic<int> full{0};

void CountFromHere(uint32_t result) {
    alloc_counter::CountThisThread();
    if (result == CWaveInThread::kResultStored)
        ++stored;
    else
        ++full;
}

TEST(CaptureWorker, AllocatesNothingWhileRecording) {
    headless::ResetCapture();
    headless::UseRealClock(false);
    headless::SetTime(0);
    alloc_counter::Reset();
    CWaveInThread capture;
    // 44100 Hz stereo in 10 ms buffers.
    ASSERT_TRUE(capture.Configure(CountFromHere, 2, 4, 1764, 2, 44100, 16));
    ASSERT_TRUE(capture.Start());
    std::vector<uint8_t> block(1764);
    for (int round = 0; round < 40; ++round) {
        headless::AdvanceTime(10);
        ASSERT_TRUE(headless::WaitCaptureIdle());
        ASSERT_TRUE(capture.Read(block.data(), 1764));
    }
    // A halt on a full ring, the restart by a Read, and a Resume.
    headless::AdvanceTime(40);
    ASSERT_TRUE(headless::WaitCaptureIdle());
    headless::AdvanceTime(10);
    ASSERT_TRUE(headless::WaitCaptureIdle());
    ASSERT_TRUE(capture.Read(block.data(), 1764));
    capture.Resume();
    headless::AdvanceTime(20);
    ASSERT_TRUE(headless::WaitCaptureIdle());
    ASSERT_TRUE(capture.Stop());
    EXPECT_GE(stored, 40 + 4 + 2);
    EXPECT_GE(full, 1);
    EXPECT_EQ(alloc_counter::Counted(), 0);
    headless::ResetCapture();
}

} // namespace
