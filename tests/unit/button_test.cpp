// Button sets: hit testing at the edges of the hot areas, lookup by id, and the drawing of each
// kind of button (the menu's tests run the modal click loop as the menus use it).
#include <gtest/gtest.h>

#include "gfx/button.h"
#include "gfx/dib.h"

namespace {

struct HitCase {
    int x, y, expected;
};

TEST(ButtonSet, HitTestIncludesLeftTopExcludesRightBottomFirstAddedWins) {
    ButtonSet set;
    set.Add(50, "a", 10, 20, 30, 10, 0);                             // 10..39 x 20..29
    set.Add(60, "b", 30, 25, 20, 10, ButtonHidden | ButtonDisabled); // overlaps a
    const HitCase cases[] = {
        {10, 20, 1}, {39, 29, 1}, {40, 20, 0}, {10, 30, 0},
        {9, 20, 0},  {10, 19, 0}, {35, 27, 1}, // in both: the first
        {45, 27, 2},                           // hidden and disabled buttons are hit too
        {49, 34, 2}, {50, 34, 0}, {-5, -5, 0},
    };
    for (const HitCase& c : cases)
        EXPECT_EQ(set.HitTest(c.x, c.y), c.expected) << c.x << "," << c.y;
    EXPECT_EQ(set.Find(60), 2);
    EXPECT_EQ(set.Find(50), 1);
    EXPECT_EQ(set.Find(70), 0);
}

class ButtonDraw : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dib.Create(60, 40));
        dib.Clear(kBackground);
    }
    static constexpr uint16_t kBackground = 0x0C63;
    CDib dib;
};

TEST_F(ButtonDraw, FlatHiddenAndLabelOnlyShapes) {
    struct ShapeCase {
        uint8_t flags;
        uint16_t at11x6; // inside the top-left bevel corner
        uint16_t at20x15;
    };
    const uint16_t face = MakeColor(192, 192, 192);
    const ShapeCase cases[] = {
        {ButtonFlat, face, face},
        {ButtonHidden, kBackground, kBackground},
        {ButtonLabelOnly, kBackground, kBackground},
        {ButtonDisabled, 0x7FFF, face},
    };
    for (const ShapeCase& c : cases) {
        dib.Clear(kBackground);
        ButtonSet set;
        set.Add(1, "", 10, 5, 30, 20, c.flags);
        set.Draw(dib);
        EXPECT_EQ(dib.GetPixel(11, 6), c.at11x6) << int(c.flags);
        EXPECT_EQ(dib.GetPixel(20, 15), c.at20x15) << int(c.flags);
    }
}

} // namespace
