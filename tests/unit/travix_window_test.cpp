// The framework window class: Create binds the view, makes the display-sized surface, loads the
// particle sprites as luminance with their key, and calls OnCreate through the table; a missing
// sprite is reported once by its lower-case name and ends the loading.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/travix_window.h"
#include "port/headless/headless.h"
#include "test_bitmaps.h"

namespace {

class Probe : public TTravixWindow {
public:
    int OnCreate() override {
        ++created;
        sizeAtCreate = screen.m_Width * 1000 + screen.m_Height;
        return 0;
    }
    int created = 0;
    int sizeAtCreate = 0;
};

// A 64 x 64 24-bit sprite: magenta background (the key), a grey ramp and pure colours inside.
std::vector<uint8_t> Sprite() {
    return testbmp::Make(64, 64, 24, {}, [](int x, int y) -> uint32_t {
        if (x < 8 || y < 8)
            return 0xFF00FF;
        if (y < 16)
            return 0xFF0000;
        if (y < 24)
            return 0x00FF00;
        if (y < 32)
            return 0x0000FF;
        return static_cast<uint32_t>(x * 4) * 0x010101;
    });
}

class TravixCreate : public ::testing::Test {
protected:
    void SetUp() override { headless::TakeMessages(); }
    void TearDown() override {
        headless::SetResourceTable(nullptr, 0);
        headless::TakeMessages();
    }
    void UseSprites(const std::vector<std::string>& names) {
        table.clear();
        for (const std::string& n : names)
            table.push_back({"BITMAP", n.c_str(), sprite.data(), sprite.size()});
        headless::SetResourceTable(table.data(), table.size());
    }
    std::vector<uint8_t> sprite = Sprite();
    std::vector<headless::EmbeddedResource> table;
    int window = 0;
};

TEST_F(TravixCreate, BindsTheViewAndCallsOnCreateOnADisplaySizedSurface) {
    static const std::vector<std::string> all = {"SMOKE", "SPARK", "BUBBLE", "FLARE"};
    UseSprites(all);
    Probe app;
    EXPECT_EQ(app.Create(&window), 1);
    EXPECT_EQ(app.viewWindow, &window);
    EXPECT_EQ(app.screen.m_Window, &window);
    EXPECT_EQ(app.running, 1u);
    EXPECT_EQ(app.created, 1);
    EXPECT_EQ(app.sizeAtCreate, 240 * 1000 + 320);
    EXPECT_TRUE(headless::TakeMessages().empty());

    for (int i = 0; i < kParticleCount; ++i) {
        const CDib& p = particleBitmaps[i];
        ASSERT_EQ(p.m_Width, 64);
        const uint16_t key = MakeColor(255, 0, 255);
        EXPECT_EQ(p.m_ColorKey, key);
        EXPECT_EQ(p.GetPixel(0, 0), key);
        // Pure channels of 248 (255 in the 5-5-5 word): 0.299, 0.587 and 0.114 of it, truncated.
        EXPECT_EQ(p.GetPixel(20, 10), 74);
        EXPECT_EQ(p.GetPixel(20, 18), 145);
        EXPECT_EQ(p.GetPixel(20, 26), 28);
        // Greys keep their level (less the low three bits the 5-5-5 word drops), give or take
        // the rounding of the weights' sum.
        EXPECT_NEAR(p.GetPixel(40, 40), 160, 1);
        EXPECT_NEAR(p.GetPixel(63, 63), 248, 1);
    }
}

TEST_F(TravixCreate, AMissingSpriteIsReportedOnceByItsLowerCaseName) {
    static const std::vector<std::string> noSpark = {"SMOKE", "BUBBLE", "FLARE"};
    UseSprites(noSpark);
    for (CDib& p : particleBitmaps)
        p.Destroy();
    Probe app;
    EXPECT_EQ(app.Create(&window), 1);
    EXPECT_EQ(app.created, 1) << "the view still opens";
    const auto shown = headless::TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Unable to initialise particle system");
    EXPECT_EQ(shown[0].caption, "spark");
    EXPECT_EQ(particleBitmaps[0].m_Width, 64);
    EXPECT_EQ(particleBitmaps[2].m_Bits, nullptr) << "loading stops at the first failure";
}

} // namespace
