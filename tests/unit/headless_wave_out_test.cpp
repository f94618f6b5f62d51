// The headless wave-out device that the engine tests stand on: buffers finish in order, paced by
// the virtual clock, pause holds them, reset returns them unplayed.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "port/headless/headless.h"
#include "port/headless/headless_wave_out.h"
#include "port/messages.h"
#include "port/port.h"

namespace {

constexpr port::WaveFormat kMono8At1000{1, 1, 1000, 1000, 1, 8, 0};

class HeadlessWaveOut : public ::testing::Test {
protected:
    void SetUp() override {
        headless::RestoreWaveOutDefaults();
        headless::SetTime(0);
        DrainOwnQueue();
    }
    void TearDown() override {
        if (device_ != nullptr) {
            port::ResetWaveOut(device_);
            port::CloseWaveOut(device_);
        }
        DrainOwnQueue();
        headless::RestoreWaveOutDefaults();
    }
    static std::vector<port::WaveHeader*> DrainOwnQueue() {
        std::vector<port::WaveHeader*> done;
        port::Message m;
        while (port::PeekOwnMessage(&m)) {
            if (m.message == MM_WOM_DONE)
                done.push_back(port::WaveHeaderOfMessage(m));
        }
        return done;
    }
    // Waits (real time) until the device has played `count` buffers in all.
    static headless::WaveOutRecord WaitPlayed(uint32_t count, headless::WaveOutRecord soFar) {
        for (int i = 0; i < 2000 && soFar.buffersPlayed < count; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            headless::WaveOutRecord more = headless::TakeWaveOutRecord();
            soFar.bytes.insert(soFar.bytes.end(), more.bytes.begin(), more.bytes.end());
            soFar.buffersPlayed += more.buffersPlayed;
        }
        return soFar;
    }
    void OpenWithBuffers() {
        device_ = port::OpenWaveOut(0, kMono8At1000, port::CurrentThreadId());
        ASSERT_NE(device_, nullptr);
        for (int i = 0; i < 3; ++i) {
            data_[i].assign(100, static_cast<uint8_t>(10 + i)); // 100 ms each at 1000 Hz
            headers_[i] = port::WaveHeader{};
            headers_[i].data = data_[i].data();
            headers_[i].bufferLength = 100;
            ASSERT_TRUE(port::PrepareWaveOut(device_, &headers_[i]));
            ASSERT_TRUE(port::WriteWaveOut(device_, &headers_[i]));
        }
    }

    port::WaveDevice device_ = nullptr;
    std::vector<uint8_t> data_[3];
    port::WaveHeader headers_[3];
};

TEST_F(HeadlessWaveOut, ClockPacesBuffersInOrderAndPauseHoldsThem) {
    OpenWithBuffers();
    headless::AdvanceTime(99);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(headless::TakeWaveOutRecord().buffersPlayed, 0u) << "a buffer finished early";

    headless::AdvanceTime(1);
    headless::WaveOutRecord r = WaitPlayed(1, headless::TakeWaveOutRecord());
    ASSERT_EQ(r.buffersPlayed, 1u);
    EXPECT_EQ(r.bytes, data_[0]);

    // Paused halfway through the second buffer: the pause time does not count.
    headless::AdvanceTime(50);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(port::PauseWaveOut(device_));
    headless::AdvanceTime(500);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(headless::TakeWaveOutRecord().buffersPlayed, 0u) << "played while paused";
    ASSERT_TRUE(port::RestartWaveOut(device_));
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    headless::AdvanceTime(49);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(headless::TakeWaveOutRecord().buffersPlayed, 0u);
    headless::AdvanceTime(1);
    r = WaitPlayed(1, headless::TakeWaveOutRecord());
    EXPECT_EQ(r.bytes, data_[1]);

    EXPECT_FALSE(port::CloseWaveOut(device_)) << "closed with a buffer queued";
    EXPECT_FALSE(port::UnprepareWaveOut(device_, &headers_[2])) << "unprepared a queued buffer";
    ASSERT_TRUE(port::ResetWaveOut(device_));
    EXPECT_TRUE(headless::TakeWaveOutRecord().bytes.empty()) << "a reset buffer counted as played";
    const std::vector<port::WaveHeader*> done = DrainOwnQueue();
    ASSERT_EQ(done.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(done[i], &headers_[i]);
    for (port::WaveHeader& h : headers_)
        EXPECT_TRUE(port::UnprepareWaveOut(device_, &h));
    EXPECT_TRUE(port::CloseWaveOut(device_));
    EXPECT_FALSE(headless::TakeWaveOutRecord().open);
    device_ = nullptr;
}

// The device rules the engine meets: device search, and buffer states checked as a real device
// checks them.
TEST_F(HeadlessWaveOut, RefusesWhatARealDeviceRefuses) {
    headless::SetWaveOutDevices(2, 0b01);
    EXPECT_EQ(port::OpenWaveOut(0, kMono8At1000, 1), nullptr) << "refusing device";
    EXPECT_EQ(port::OpenWaveOut(2, kMono8At1000, 1), nullptr) << "no such device";
    device_ = port::OpenWaveOut(1, kMono8At1000, port::CurrentThreadId());
    ASSERT_NE(device_, nullptr);
    EXPECT_EQ(port::OpenWaveOut(1, kMono8At1000, 1), nullptr) << "busy device";

    std::vector<uint8_t> data(10, 128);
    port::WaveHeader h{};
    h.data = data.data();
    h.bufferLength = 10;
    EXPECT_FALSE(port::WriteWaveOut(device_, &h)) << "unprepared buffer written";
    ASSERT_TRUE(port::PrepareWaveOut(device_, &h));
    EXPECT_FALSE(port::PrepareWaveOut(device_, &h)) << "prepared twice";
    ASSERT_TRUE(port::WriteWaveOut(device_, &h));
    EXPECT_FALSE(port::WriteWaveOut(device_, &h)) << "queued twice";
    ASSERT_TRUE(port::ResetWaveOut(device_));
    EXPECT_TRUE(port::UnprepareWaveOut(device_, &h));
}

} // namespace
