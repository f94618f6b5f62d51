// Bitmap fonts: the marker scan on strips made here, refusal of broken strips and metrics, and the
// glyph-pattern font's clipping.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/font.h"
#include "gfx/glyph_font.h"
#include "port/headless/headless.h"
#include "test_bitmaps.h"

namespace {

// A marked strip: cell i has a white run of whites[i] and a key run of keys[i] pixels.
std::string MarkedStripFile(const std::vector<int>& whites, const std::vector<int>& keys,
                            int height, const char* name) {
    std::vector<int> marker = {0};
    for (std::size_t i = 0; i < whites.size(); ++i) {
        marker.insert(marker.end(), whites[i], 1);
        marker.insert(marker.end(), keys[i], 0);
    }
    const int width = static_cast<int>(marker.size());
    const auto bytes = testbmp::Make(width, height, 8, {0xFF00FF, 0xFFFFFF, 0x102040},
                                     [&](int x, int y) -> uint32_t {
                                         if (y == 0)
                                             return marker[x];
                                         return y >= 2 && x % 3 == 1 ? 2 : 0;
                                     });
    return testbmp::WriteTemp(testbmp::AsFile(bytes), name);
}

TEST(Font, MarkerScanFromAFile) {
    // The documented start, then "\"" in a 6 + 6 cell running to the right edge.
    const std::string path = MarkedStripFile({4, 5, 6}, {4, 5, 6}, 10, "marked.bmp");
    Font font;
    ASSERT_EQ(font.LoadMarked(nullptr, path.c_str()), 1);
    EXPECT_EQ(font.xOffset[int{' '}], 1);
    EXPECT_EQ(font.width[int{' '}], 5);
    EXPECT_EQ(font.xOffset[int{'!'}], 9);
    EXPECT_EQ(font.width[int{'!'}], 7);
    EXPECT_EQ(font.xOffset[int{'"'}], 19);
    // The 31-column strip is widened to 32 by a black column: a colour change that closes the
    // last cell one column early and leaves too little for another.
    EXPECT_EQ(font.width[int{'"'}], 31 - 19 - 3);
    EXPECT_EQ(font.width[int{'#'}], 0);
    EXPECT_EQ(font.height, 8);
    EXPECT_EQ(font.srcY, 2);
}

TEST(Font, LaterDuplicateCellWins) {
    // 144 cells of 2 + 2 columns, except the first "_" cell (index 63) of 3 + 9; the second "_"
    // (index 95) keeps 2 + 2.
    std::vector<int> whites(kMarkerOrderLength, 2), keys(kMarkerOrderLength, 2);
    whites[63] = 3;
    keys[63] = 9;
    const std::string path = MarkedStripFile(whites, keys, 5, "dups.bmp");
    Font font;
    ASSERT_EQ(font.LoadMarked(nullptr, path.c_str()), 1);
    EXPECT_EQ(font.width[int{'_'}], 1);
    EXPECT_EQ(font.xOffset[int{'_'}], 1 + 4 * 94 + 12);
    EXPECT_EQ(font.width[int{'^'}], 1);
    EXPECT_EQ(font.xOffset[int{'`'}], 1 + 4 * 63 + 12);
}

TEST(Font, BrokenStripsAndMetricsAreRefused) {
    Font font;
    EXPECT_EQ(font.LoadMarked(nullptr, "no-such-strip.bmp"), 0);
    EXPECT_EQ(font.LoadMarked(port::ProgramModule(), "NOSUCH"), 0);
    const std::string flat = MarkedStripFile({4, 5}, {4, 5}, 2, "flat.bmp");
    EXPECT_EQ(font.LoadMarked(nullptr, flat.c_str()), 0); // no glyph row
    // More cells than the order string has characters: the extra cells are passed over.
    std::vector<int> many(200, 1);
    const std::string crowded = MarkedStripFile(many, many, 4, "crowded.bmp");
    ASSERT_EQ(font.LoadMarked(nullptr, crowded.c_str()), 1);
    EXPECT_EQ(font.width[int{' '}], 0); // a 2-column cell leaves no glyph
    EXPECT_EQ(font.xOffset[int{'!'}], 3);

    static const uint8_t strip[] = {40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0,
                                    0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  0,
                                    0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  0};
    static const uint8_t shortMetrics[] = {3, 1, 'A', 1, 'B'}; // three entries claimed, 1.5 held
    static const uint8_t goodMetrics[] = {2, 1, 'A', 1, 'B', 1};
    const headless::EmbeddedResource table[] = {
        {"BITMAP", "SHORT", strip, sizeof(strip)},     {"TEXT", "SHORT", shortMetrics, 5},
        {"BITMAP", "GOOD", strip, sizeof(strip)},      {"TEXT", "GOOD", goodMetrics, 6},
        {"BITMAP", "NOMETRICS", strip, sizeof(strip)},
    };
    headless::SetResourceTable(table, 5);
    EXPECT_EQ(font.LoadText(port::ProgramModule(), "SHORT"), 0);
    EXPECT_EQ(font.TextWidth("AB"), 0);
    EXPECT_EQ(font.LoadText(port::ProgramModule(), "NOMETRICS"), 0);
    ASSERT_EQ(font.LoadText(port::ProgramModule(), "GOOD"), 1);
    EXPECT_EQ(font.TextWidth("AB"), 2);
    EXPECT_EQ(font.xOffset[int{'B'}], 1);
    headless::SetResourceTable(nullptr, 0);
}

// Advances, line breaks and the left and right edges are drawn in tests/golden/glyph_font.png.
TEST(GlyphFont, TextPastTheBottomOrWithNoSurfaceIsClipped) {
    CDib dib;
    ASSERT_EQ(dib.Create(20, 20), 1);
    dib.Clear(0);
    DrawGlyphText(dib, "%%%%\n%%", 15, 16, 0x7FFF);
    EXPECT_EQ(dib.GetPixel(15, 16), 0x7FFF);
    CDib empty;
    DrawSystemText(empty, 0, 0, 0, "nothing to draw on");
}

} // namespace
