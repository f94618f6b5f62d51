// The program's artwork as the loaders see it: every bitmap resource present with its size, and
// the key colours the toolkit relies on.
#include <gtest/gtest.h>

#include "gfx/dib.h"
#include "port/port.h"

namespace {

struct Artwork {
    const char* name;
    int width, height;
};

// Sizes the fonts, toolbars, splash and particle store are built for (widths made even).
const Artwork kBitmaps[] = {
    {"BUTTONFONT", 568, 14}, {"FONT1", 334, 10}, {"FONT2", 752, 16}, {"FONT3", 1186, 33},
    {"MENUFONT", 1900, 19},  {"14", 320, 20},    {"10", 320, 15},    {"13", 48, 15},
    {"SPLASH", 268, 211},    {"SMOKE", 64, 64},  {"SPARK", 64, 64},  {"BUBBLE", 64, 64},
    {"FLARE", 64, 64},
};

TEST(Artwork, EveryBitmapLoadsWithItsSize) {
    for (const Artwork& a : kBitmaps) {
        CDib dib;
        ASSERT_EQ(dib.LoadFromResource(port::ProgramModule(), a.name), 1) << a.name;
        EXPECT_EQ(dib.m_Width, a.width) << a.name;
        EXPECT_EQ(dib.m_Height, a.height) << a.name;
    }
}

TEST(Artwork, KeyColoursSitInTheCorners) {
    struct Key {
        const char* name;
        uint16_t color;
    } keys[] = {
        {"SPLASH", MakeColor(255, 0, 255)},
        {"SMOKE", 0},
        {"14", MakeColor(192, 192, 192)},
        {"10", MakeColor(192, 192, 192)},
    };
    for (const Key& k : keys) {
        CDib dib;
        ASSERT_EQ(dib.LoadFromResource(port::ProgramModule(), k.name), 1);
        EXPECT_EQ(dib.GetPixel(0, 0), k.color) << k.name;
        EXPECT_EQ(dib.GetPixel(dib.m_Width - 2, dib.m_Height - 1), k.color) << k.name;
    }
    // The splash shows a picture inside its key-coloured surround.
    CDib splash;
    ASSERT_EQ(splash.LoadFromResource(port::ProgramModule(), "SPLASH"), 1);
    EXPECT_NE(splash.GetPixel(134, 105), MakeColor(255, 0, 255));
}

} // namespace
