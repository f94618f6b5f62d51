// The drawing surface: colour blending against its exact and closed forms, a failed allocation,
// and the timer (the primitives and blit modes are drawn in tests/golden/primitives.png).
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/dib.h"
#include "gfx/screen.h"
#include "port/headless/headless.h"

namespace {

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

TEST(Screen, TimerCountsMillisecondsAcrossTheWrap) {
    headless::SetTime(0xFFFFFFFBu);
    StartTimer();
    EXPECT_EQ(ElapsedMs(), 0u);
    port::SleepMs(10);
    EXPECT_EQ(ElapsedMs(), 10u);
}

} // namespace
