// The headless port: embedded resources as the Windows loader returns them, and the virtual
// clock.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "port/headless/headless.h"
#include "port/port.h"

namespace headless {
extern const EmbeddedResource kTestResources[];
extern const std::size_t kTestResourcesCount;
} // namespace headless

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class HeadlessResources : public ::testing::Test {
protected:
    void SetUp() override {
        headless::SetResourceTable(headless::kTestResources, headless::kTestResourcesCount);
    }
    void TearDown() override { headless::SetResourceTable(nullptr, 0); }
};

TEST_F(HeadlessResources, BitmapIsTheFileWithoutItsFileHeader) {
    const auto file = ReadFile(TONALYX_SOURCE_DIR "/tests/data/tiny.bmp");
    ASSERT_GT(file.size(), 14u + 40u);
    port::ResourceData r{};
    ASSERT_TRUE(port::FindResourceData("BITMAP", "TINY", &r));
    ASSERT_EQ(r.size, file.size() - 14);
    EXPECT_EQ(std::memcmp(r.bytes, file.data() + 14, r.size), 0);
}

TEST_F(HeadlessResources, LookupIgnoresCaseAndMissesCleanly) {
    const auto file = ReadFile(TONALYX_SOURCE_DIR "/tests/data/metrics.txt");
    port::ResourceData r{};
    ASSERT_TRUE(port::FindResourceData("text", "Metrics", &r));
    ASSERT_EQ(r.size, file.size());
    EXPECT_EQ(std::memcmp(r.bytes, file.data(), r.size), 0);
    EXPECT_FALSE(port::FindResourceData("BITMAP", "METRICS", &r));
    EXPECT_FALSE(port::FindResourceData("TEXT", "NOSUCH", &r));
    EXPECT_FALSE(port::FindResourceData(nullptr, "TINY", &r));
}

TEST(HeadlessClock, SleepAdvancesTheVirtualClockWithWrapAround) {
    headless::SetTime(0xFFFFFFF0u);
    const uint32_t start = port::TickCount();
    port::SleepMs(2000);
    EXPECT_EQ(port::TickCount() - start, 2000u);
    headless::AdvanceTime(30);
    EXPECT_EQ(port::TickCount() - start, 2030u);
}

} // namespace
