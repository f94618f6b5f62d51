// The Windows port as the core sees it: resources from the executable, the clock, and a wave
// device's buffer-done message.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <mmsystem.h>

#include "port/port.h"

namespace {

TEST(Win32Port, BitmapResourceStartsWithItsInfoHeader) {
    port::ResourceData r{};
    ASSERT_TRUE(port::FindResourceData("BITMAP", "tiny", &r));
    ASSERT_EQ(r.size, 64u); // 78-byte file less its 14-byte file header
    uint32_t headerSize;
    int32_t width, height;
    std::memcpy(&headerSize, r.bytes, 4);
    std::memcpy(&width, r.bytes + 4, 4);
    std::memcpy(&height, r.bytes + 8, 4);
    EXPECT_EQ(headerSize, 40u);
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 2);
}

TEST(Win32Port, CustomTextResource) {
    port::ResourceData r{};
    ASSERT_TRUE(port::FindResourceData("TEXT", "METRICS", &r));
    ASSERT_EQ(r.size, 15u);
    EXPECT_EQ(std::memcmp(r.bytes, "Metrics 12 34\r\n", 15), 0);
    EXPECT_FALSE(port::FindResourceData("TEXT", "NOSUCH", &r));
}

TEST(Win32Port, ClockFollowsSleep) {
    const uint32_t start = port::TickCount();
    port::SleepMs(50);
    const uint32_t elapsed = port::TickCount() - start;
    EXPECT_GE(elapsed, 45u);
    EXPECT_LT(elapsed, 5000u);
}

// The header of a buffer-done message is only found, not touched: the message may be left over
// from a run whose headers are gone.
TEST(Win32Port, WaveMessageNamesItsHeaderWithoutWritingIt) {
    port::WaveHeader header{};
    header.bytesRecorded = 7;
    auto* wave = reinterpret_cast<WAVEHDR*>(header.platform);
    wave->dwBytesRecorded = 99;
    const port::Message done{nullptr, MM_WIM_DATA, 0, reinterpret_cast<intptr_t>(wave)};
    EXPECT_EQ(port::WaveHeaderOfMessage(done), &header);
    EXPECT_EQ(header.bytesRecorded, 7u);
}

} // namespace
