// The program's artwork as the loaders see it: every bitmap resource present with its size and
// depth, the key colours the toolkit relies on, and the icon's directory.
#include <gtest/gtest.h>

#include <cstring>

#include "gfx/dib.h"
#include "port/port.h"

namespace {

struct Artwork {
    const char* name;
    int width, height, bitCount;
};

// Sizes and depths the fonts, toolbars, splash and particle store are built for.
const Artwork kBitmaps[] = {
    {"BUTTONFONT", 567, 14, 4}, {"FONT1", 334, 10, 24},    {"FONT2", 751, 16, 4},
    {"FONT3", 1186, 33, 4},     {"MENUFONT", 1900, 19, 8}, {"14", 320, 20, 8},
    {"10", 320, 15, 8},         {"13", 48, 15, 8},         {"SPLASH", 268, 211, 24},
    {"SMOKE", 64, 64, 24},      {"SPARK", 64, 64, 24},     {"BUBBLE", 64, 64, 24},
    {"FLARE", 64, 64, 24},
};

TEST(Artwork, EveryBitmapLoadsWithItsSizeAndDepth) {
    for (const Artwork& a : kBitmaps) {
        port::ResourceData r{};
        ASSERT_TRUE(port::FindResourceData("BITMAP", a.name, &r)) << a.name;
        ASSERT_GE(r.size, 40u);
        int32_t w, h;
        uint16_t bits;
        std::memcpy(&w, r.bytes + 4, 4);
        std::memcpy(&h, r.bytes + 8, 4);
        std::memcpy(&bits, r.bytes + 14, 2);
        EXPECT_EQ(w, a.width) << a.name;
        EXPECT_EQ(h, a.height) << a.name;
        EXPECT_EQ(bits, a.bitCount) << a.name;
        CDib dib;
        ASSERT_EQ(dib.LoadFromResource(port::ProgramModule(), a.name), 1) << a.name;
        EXPECT_EQ(dib.m_Width, (a.width + 1) & ~1) << a.name;
        EXPECT_EQ(dib.m_Height, a.height) << a.name;
    }
}

TEST(Artwork, KeyColoursSitInTheCorners) {
    struct Key {
        const char* name;
        uint16_t color;
    } keys[] = {
        {"SPLASH", MakeColor(255, 0, 255)},
        {"MENUFONT", MakeColor(255, 0, 255)},
        {"FONT1", 0},
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
