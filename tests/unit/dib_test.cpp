// The drawing surface: colour words, allocation, every primitive's edge cases pixel for pixel, the
// blit modes with clipping, the screen's presentation and the timer.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

#include "gfx/dib.h"
#include "gfx/screen.h"
#include "port/headless/headless.h"

namespace {

using Points = std::set<std::pair<int, int>>;

constexpr uint16_t kBack = 0x1234;
constexpr uint16_t kInk = 0x7C1F;

// A w x h bitmap cleared to kBack.
void Fresh(CDib& dib, int w, int h) {
    ASSERT_EQ(dib.Create(w, h), 1);
    dib.Clear(kBack);
}

// Every pixel that is not kBack.
Points Changed(const CDib& dib) {
    Points p;
    for (int y = 0; y < dib.m_Height; ++y)
        for (int x = 0; x < dib.m_Width; ++x)
            if (dib.GetPixel(x, y) != kBack)
                p.insert({x, y});
    return p;
}

Points Block(int x1, int y1, int x2, int y2) {
    Points p;
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x)
            p.insert({x, y});
    return p;
}

// Channels are independent, so every pair of channel values in every channel position, with the
// other channels set to a different pair, covers every pair of colours.
TEST(Color, BlendIsExactAtBothEndsAndRoundedBetween) {
    for (int d = 0; d < 32; ++d) {
        for (int s = 0; s < 32; ++s) {
            const uint16_t dc = static_cast<uint16_t>(d << 10 | (31 - s) << 5 | (d ^ 21));
            const uint16_t sc = static_cast<uint16_t>(s << 10 | d << 5 | (s ^ 10));
            EXPECT_EQ(BlendColor(dc, sc, 0), dc);
            EXPECT_EQ(BlendColor(dc, sc, 255), sc);
            for (int a = 0; a < 256; ++a) {
                const double exact = d + (s - d) * a / 255.0;
                const int got = BlendColor(dc, sc, a) >> 10;
                ASSERT_LE(std::fabs(got - exact), 0.51) << d << " " << s << " " << a;
            }
        }
    }
}

TEST(Color, ScreenNeverDarkensAndMatchesTheClosedForm) {
    for (int d = 0; d < 32; ++d) {
        for (int s = 0; s < 32; ++s) {
            const uint16_t dc = static_cast<uint16_t>(d | d << 5 | d << 10);
            const uint16_t sc = static_cast<uint16_t>(s | s << 5 | s << 10);
            const int full = 31 - ((31 - s) * (31 - d)) / 32;
            EXPECT_EQ(ScreenColor(dc, sc, 255), full | full << 5 | full << 10);
            EXPECT_EQ(ScreenColor(dc, sc, 0), dc);
            EXPECT_EQ(ScreenColor(dc, sc, 128) & 31,
                      BlendColor(dc, static_cast<uint16_t>(full), 128) & 31);
        }
    }
}

TEST(Dib, FailedCreateShowsTheMessageAndLeavesAnEmptyBitmap) {
    const int sizes[][2] = {{100000, 100000}, {-4, 10}, {10, -4}, {0x7FFFFFFF, 1}};
    for (const auto& size : sizes) {
        CDib dib;
        ASSERT_EQ(dib.Create(16, 16), 1);
        headless::TakeMessages();
        EXPECT_EQ(dib.Create(size[0], size[1]), 0);
        EXPECT_EQ(dib.m_Bits, nullptr);
        EXPECT_EQ(dib.m_Width, 0);
        EXPECT_EQ(dib.m_Height, 0);
        const auto shown = headless::TakeMessages();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, "CDib::Create Failed");
        EXPECT_EQ(shown[0].caption, "m_Bitmap = NULL");
        dib.Clear(1); // an empty bitmap ignores Clear
    }
}

TEST(Dib, LinesOfPixelsClipToTheBitmap) {
    struct Case {
        const char* what;
        void (*draw)(CDib&);
        Points plotted;
    } cases[] = {
        {"HLine from -2", [](CDib& d) { d.HLine(-2, 0, 5, kInk); }, {{0, 0}, {1, 0}, {2, 0}}},
        {"HLine below", [](CDib& d) { d.HLine(0, 6, 5, kInk); }, {}},
        {"HLine above", [](CDib& d) { d.HLine(0, -1, 5, kInk); }, {}},
        {"HLine empty", [](CDib& d) { d.HLine(1, 1, 0, kInk); }, {}},
        {"HLine past the edge", [](CDib& d) { d.HLine(6, 2, 100, kInk); }, {{6, 2}, {7, 2}}},
        {"VLine", [](CDib& d) { d.VLine(3, 4, 9, kInk); }, {{3, 4}, {3, 5}}},
        {"VLine negative", [](CDib& d) { d.VLine(3, 1, -2, kInk); }, {}},
        {"VLine outside", [](CDib& d) { d.VLine(8, 0, 3, kInk); }, {}},
        {"FrameRect",
         [](CDib& d) { d.FrameRect(1, 1, 3, 3, kInk); },
         {{1, 1}, {2, 1}, {3, 1}, {1, 3}, {2, 3}, {3, 3}, {1, 2}, {3, 2}}},
        {"VLineClipped keeps its length below top",
         [](CDib& d) { d.VLineClipped(2, 0, 3, kInk, 0, 2, 8, 6); },
         {{2, 2}, {2, 3}, {2, 4}}},
        {"VLineClipped cut at bottom",
         [](CDib& d) { d.VLineClipped(2, 3, 9, kInk, 0, 0, 8, 5); },
         {{2, 3}, {2, 4}}},
        {"VLineClipped left of the clip",
         [](CDib& d) { d.VLineClipped(1, 0, 3, kInk, 2, 0, 8, 6); },
         {}},
        {"VLineClipped at right", [](CDib& d) { d.VLineClipped(5, 0, 3, kInk, 2, 0, 5, 6); }, {}},
        // x runs -0.5 .. 3.5: -0.5 is left of 0 although it truncates to 0; 3.5 >= 3.
        {"LineClipped compares the untruncated point",
         [](CDib& d) { d.LineClipped(-0.5f, 1, 4.5f, 1, kInk, 0, 0, 3, 6); },
         {{0, 1}, {1, 1}, {2, 1}}},
        {"LineClipped with a clip wider than the bitmap",
         [](CDib& d) { d.LineClipped(0, 0, 0, 100, kInk, -50, -50, 500, 500); }, Block(0, 0, 1, 6)},
    };
    for (const Case& c : cases) {
        CDib dib;
        Fresh(dib, 8, 6);
        c.draw(dib);
        EXPECT_EQ(Changed(dib), c.plotted) << c.what;
    }
}

TEST(Dib, BlitClipsAtEveryEdge) {
    CDib src;
    ASSERT_EQ(src.Create(16, 8), 1);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            src.PutPixel(x, y, static_cast<uint16_t>(1 + x + 16 * y));
    struct Case {
        int x, y, w, h, sx, sy;
        int result;
        int firstX, firstY, columns, rows, fromX, fromY;
    } cases[] = {
        {-3, 0, 10, 2, 0, 0, 1, 0, 0, 7, 2, 3, 0},
        {2, -1, 4, 3, 1, 1, 1, 2, 0, 4, 2, 1, 2},
        {6, 4, 10, 10, 0, 0, 1, 6, 4, 4, 2, 0, 0},
        {10, 0, 4, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {0, 6, 4, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {-4, 0, 4, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {0, 0, 6, 2, 14, 7, 1, 0, 0, 2, 1, 14, 7}, // cut to the source's own size
    };
    for (const Case& c : cases) {
        CDib dst;
        Fresh(dst, 10, 6);
        EXPECT_EQ(dst.Blit(c.x, c.y, c.w, c.h, src, c.sx, c.sy, BLIT_COPY), c.result);
        EXPECT_EQ(Changed(dst), Block(c.firstX, c.firstY, c.firstX + c.columns, c.firstY + c.rows))
            << c.x << "," << c.y;
        for (int r = 0; r < c.rows; ++r)
            for (int i = 0; i < c.columns; ++i)
                EXPECT_EQ(dst.GetPixel(c.firstX + i, c.firstY + r),
                          src.GetPixel(c.fromX + i, c.fromY + r));
    }
}

TEST(Dib, BlitModes) {
    const uint16_t key = MakeColor(255, 0, 255);
    const uint16_t glyph = MakeColor(255, 255, 255);
    const uint16_t d = MakeColor(40, 80, 160);
    const uint16_t pen = MakeColor(0, 255, 0);
    struct Case {
        uint8_t mode;
        uint16_t overGlyph, overKey;
    } cases[] = {
        {BLIT_COPY, glyph, key},
        {BLIT_KEYED, glyph, d},
        {BLIT_ALPHA, BlendColor(d, glyph, 100), BlendColor(d, key, 100)},
        {BLIT_KEYED_ALPHA, BlendColor(d, glyph, 100), d},
        {BLIT_SCREEN, ScreenColor(d, glyph, 100), ScreenColor(d, key, 100)},
        {BLIT_KEYED_SCREEN, ScreenColor(d, glyph, 100), d},
        {BLIT_PEN, pen, d},
        {6, d, d},
        {9, d, d},
    };
    CDib src;
    ASSERT_EQ(src.Create(2, 1), 1);
    src.PutPixel(0, 0, glyph);
    src.PutPixel(1, 0, key);
    src.SetColorKey(key);
    src.SetAlpha(100);
    for (const Case& c : cases) {
        CDib dst;
        ASSERT_EQ(dst.Create(4, 2), 1);
        dst.Clear(d);
        dst.m_PenColor = pen;
        EXPECT_EQ(dst.Blit(1, 1, 2, 1, src, 0, 0, c.mode), 1);
        EXPECT_EQ(dst.GetPixel(1, 1), c.overGlyph) << int(c.mode);
        EXPECT_EQ(dst.GetPixel(2, 1), c.overKey) << int(c.mode);
        EXPECT_EQ(dst.GetPixel(0, 1), d);
        EXPECT_EQ(dst.GetPixel(1, 0), d);
    }
}

TEST(Screen, TimerCountsMillisecondsAcrossTheWrap) {
    headless::SetTime(0xFFFFFFFBu);
    StartTimer();
    EXPECT_EQ(ElapsedMs(), 0u);
    port::SleepMs(10);
    EXPECT_EQ(ElapsedMs(), 10u);
}

} // namespace
