// The Windows port as the core sees it: resources from the executable, the clock, and a wave
// device's buffer-done message.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <mmsystem.h>
#include <string>

#include "port/port.h"

namespace {

TEST(Win32Port, ResourcesComeWithoutTheirFileHeader) {
    port::ResourceData r{};
    ASSERT_TRUE(port::FindResourceData("BITMAP", "tiny", &r));
    ASSERT_EQ(r.size, 64u); // 78-byte file less its 14-byte file header
    int32_t header[3];
    std::memcpy(header, r.bytes, sizeof header);
    EXPECT_EQ(header[0], 40) << "size of the info header";
    EXPECT_EQ(header[1], 3) << "width";
    EXPECT_EQ(header[2], 2) << "height";

    ASSERT_TRUE(port::FindResourceData("TEXT", "METRICS", &r));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.bytes), r.size), "Metrics 12 34\r\n");
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
