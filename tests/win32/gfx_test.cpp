// The drawing surface on the real Windows port: every program bitmap resource through
// FindResourceA and the BMP loader, DIB sections as surfaces, and text in the platform's font.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "gfx/font.h"
#include "port/port.h"

namespace {

TEST(Win32Gfx, EveryProgramBitmapLoadsWithItsSize) {
    struct Artwork {
        const char* name;
        int width, height;
    } bitmaps[] = {
        {"BUTTONFONT", 568, 14}, {"FONT1", 334, 10},   {"FONT2", 752, 16}, {"FONT3", 1186, 33},
        {"MENUFONT", 1900, 19},  {"14", 320, 20},      {"10", 320, 15},    {"13", 48, 15},
        {"SPLASH", 268, 211},    {"splash", 268, 211}, {"SMOKE", 64, 64},  {"SPARK", 64, 64},
        {"BUBBLE", 64, 64},      {"FLARE", 64, 64},
    };
    for (const auto& b : bitmaps) {
        CDib dib;
        ASSERT_EQ(dib.LoadFromResource(port::ProgramModule(), b.name), 1) << b.name;
        EXPECT_EQ(dib.m_Width, b.width) << b.name;
        EXPECT_EQ(dib.m_Height, b.height) << b.name;
        EXPECT_NE(dib.m_Bitmap, nullptr);
    }
    CDib missing;
    EXPECT_EQ(missing.LoadFromResource(port::ProgramModule(), "15"), 0);
    EXPECT_EQ(missing.LoadFromResource(port::ProgramModule(), "NOSUCH"), 0);
}

TEST(Win32Gfx, FontsLoadFromTheExecutable) {
    const char* metricsFonts[] = {"BUTTONFONT", "FONT1", "FONT2", "FONT3"};
    for (const char* name : metricsFonts) {
        Font font;
        ASSERT_EQ(font.LoadText(port::ProgramModule(), name), 1) << name;
        EXPECT_GT(font.TextWidth("Hz"), 0) << name;
    }
    Font menu;
    ASSERT_EQ(menu.LoadMarked(port::ProgramModule(), "MENUFONT"), 1);
    EXPECT_EQ(menu.xOffset[' '], 1);
    EXPECT_EQ(menu.width['!'], 7);
}

TEST(Win32Gfx, SurfaceIsATopDownDibSection) {
    CDib dib;
    ASSERT_EQ(dib.Create(239, 3), 1);
    EXPECT_EQ(dib.m_Width, 240);
    // The platform hands out zeroed pixels; writing the last one must stay inside the section.
    EXPECT_EQ(dib.GetPixel(0, 0), 0);
    dib.PutPixel(239, 2, 0x7FFF);
    EXPECT_EQ(dib.m_Bits[240 * 3 - 1], 0x7FFF);
}

// Columns of the target that hold the text colour.
int LitColumns(const CDib& dib, uint16_t color, int* first, int* last) {
    int lit = 0;
    *first = dib.m_Width;
    *last = -1;
    for (int x = 0; x < dib.m_Width; ++x) {
        bool any = false;
        for (int y = 0; y < dib.m_Height; ++y)
            any = any || dib.GetPixel(x, y) == color;
        if (any) {
            ++lit;
            *first = std::min(*first, x);
            *last = x;
        }
    }
    return lit;
}

TEST(Win32Gfx, SystemTextDrawsIntoTheSurface) {
    CDib dib;
    ASSERT_EQ(dib.Create(200, 40), 1);
    dib.Clear(0);
    DrawSystemText(dib, 4, 4, 0x0000FFFFu, "Spectrum 1 kHz"); // yellow
    const uint16_t yellow = MakeColor(255, 255, 0);
    int first, last;
    EXPECT_GT(LitColumns(dib, yellow, &first, &last), 20);
    EXPECT_GE(first, 4);
    // The background stays where no glyph is: transparent drawing.
    EXPECT_EQ(dib.GetPixel(199, 39), 0);

    dib.Clear(0);
    DrawSystemText(dib, -1, 4, 0x00FFFFFFu, "Centre");
    ASSERT_GT(LitColumns(dib, 0x7FFF, &first, &last), 5);
    const int leftGap = first, rightGap = dib.m_Width - 1 - last;
    EXPECT_LE(std::abs(leftGap - rightGap), 4) << leftGap << " " << rightGap;
}

} // namespace
