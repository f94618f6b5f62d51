// The capture thread on the real platform (winmm wave-in with thread notifications): every rate
// records, and a full ring halts and restarts the real device. The DISABLED_ test is run by
// tests/e2e/capture_no_device.sh in a process that finds no sound server.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "audio/wave_in_thread.h"
#include "port/port.h"

namespace {

std::atomic<int> full{0};

void CountEvents(uint32_t result) {
    if (result == CWaveInThread::kResultRingFull)
        ++full;
}

// Reads blocks of `bytes` bytes until `count` have come, for at most timeoutMs.
std::vector<uint8_t> ReadBlocks(CWaveInThread& capture, uint32_t bytes, int count,
                                DWORD timeoutMs = 5000) {
    std::vector<uint8_t> all;
    std::vector<uint8_t> block(bytes);
    const DWORD start = GetTickCount();
    while (static_cast<int>(all.size() / bytes) < count && GetTickCount() - start < timeoutMs) {
        if (capture.Read(block.data(), bytes))
            all.insert(all.end(), block.begin(), block.end());
        else
            Sleep(5);
    }
    return all;
}

class WinCapture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GT(port::WaveInDeviceCount(), 0u) << "no capture device: is the sound server up?";
        full = 0;
    }
    CWaveInThread capture;
};

TEST_F(WinCapture, EveryRateOfTheProgramRecords) {
    struct Case {
        uint32_t rate;
        uint32_t blockBytes;
    } cases[] = {{44100, 8192}, {22050, 8192}, {11025, 8192}, {8000, 2048}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate);
        ASSERT_TRUE(capture.Configure(CountEvents, 2, 4, c.blockBytes, 2, c.rate, 16));
        EXPECT_EQ(capture.BytesPerSecond(), c.rate * 4);
        ASSERT_TRUE(capture.Start());
        EXPECT_TRUE(capture.IsRunning());
        EXPECT_EQ(ReadBlocks(capture, c.blockBytes, 2).size(), 2u * c.blockBytes);
        EXPECT_TRUE(capture.Stop());
        EXPECT_FALSE(capture.IsRunning());
    }
}

TEST_F(WinCapture, FullRingHaltsUntilReadOrResume) {
    ASSERT_TRUE(capture.Configure(CountEvents, 2, 4, 8192, 2, 44100, 16));
    ASSERT_TRUE(capture.Start());
    Sleep(600); // four blocks are 186 ms
    EXPECT_GE(full, 1);
    EXPECT_EQ(capture.Available(), 4u * 8192);
    const int halts = full;
    Sleep(200);
    EXPECT_EQ(full, halts) << "halted: no more buffers come in";

    std::vector<uint8_t> block(8192);
    ASSERT_TRUE(capture.Read(block.data(), 8192));
    Sleep(300);
    EXPECT_EQ(capture.Available(), 4u * 8192) << "the read restarted recording";

    capture.Resume();
    EXPECT_EQ(capture.Available(), 0u);
    EXPECT_EQ(ReadBlocks(capture, 8192, 2).size(), 2u * 8192) << "Resume restarted recording";
    EXPECT_TRUE(capture.Stop());
}

TEST(Win32Capture, DISABLED_StartFailsWithoutDevice) {
    EXPECT_EQ(port::WaveInDeviceCount(), 0u);
    CWaveInThread capture;
    ASSERT_TRUE(capture.Configure(CountEvents, 2, 4, 8192, 2, 44100, 16));
    EXPECT_FALSE(capture.Start());
    EXPECT_FALSE(capture.IsRunning());
}

} // namespace
