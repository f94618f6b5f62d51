// Pictures through the headless port compared pixel for pixel with tests/golden: text in every
// program font, the glyph-pattern font, the primitives' edge cases and open menus
// (TONALYX_UPDATE_GOLDEN=1 rewrites them after a deliberate change).
#include <gtest/gtest.h>

#include <string>

#include "gfx/font.h"
#include "gfx/glyph_font.h"
#include "gfx/menu.h"
#include "gfx/screen.h"
#include "golden.h"
#include "menu_scene.h"
#include "port/headless/headless.h"

namespace {

class Golden : public ::testing::Test {
protected:
    void SetUp() override { headless::ForgetPresented(); }
    int window = 0;
};

TEST_F(Golden, MetricsFonts) {
    struct Case {
        const char* font;
        int width;
        const char* lines[4];
    } cases[] = {
        {"BUTTONFONT",
         300,
         {"Continue  Exit Program", "Sample Rate: 44Khz", "FFT Size: 16K (+/-#?<>)",
          "0123456789 %,."}},
        {"FONT1",
         240,
         {"-20 dB  1000 Hz  44.1 kHz", "Peak: 997.3Hz (B5 +12%)", "SPL = 94.0 dB(A)? Avg",
          "0123456789 ,.:%()-?+="}},
        {"FONT2",
         330,
         {"Linear  Octave  Spectrogram", "Transfer (Log) 1/12 Octave", "Phase: -180 +180 #?<>",
          "0123456789 %,.:()"}},
        {"FONT3", 460, {"-12.5 dB", "94.0 dB(A)", "SPL: 100%", "Qjgpy #?<>"}},
    };
    for (const Case& c : cases) {
        Font font;
        ASSERT_EQ(font.LoadText(port::ProgramModule(), c.font), 1) << c.font;
        CScreen screen;
        ASSERT_EQ(screen.Create(&window), 1);
        ASSERT_EQ(screen.Create(c.width, 8 * (font.height + 2)), 1);
        screen.Clear(MakeColor(16, 32, 48));
        int y = 0;
        for (const char* line : c.lines) {
            font.DrawText(screen, 2, y, line, 0, BLIT_KEYED);
            y += font.height + 2;
        }
        font.DrawText(screen, 2, y, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", MakeColor(255, 255, 0), BLIT_PEN);
        y += font.height + 2;
        font.DrawText(screen, 2, y, "abcdefghijklmnopqrstuvwxyz", MakeColor(0, 255, 128), BLIT_PEN);
        y += font.height + 2;
        screen.FillRect(0, y, screen.m_Width, y + font.height + 1, MakeColor(192, 192, 192));
        font.DrawText(screen, -1, y, "Centred Pen Text", MakeColor(0, 0, 0), BLIT_PEN);
        y += font.height + 2;
        font.DrawText(
            screen, -1, y,
            "A centred line far wider than the picture it is drawn on, cut at both of its ends",
            MakeColor(255, 96, 96), BLIT_PEN);
        ExpectGolden(screen, std::string("text_") + c.font);
    }
}

TEST_F(Golden, MenuFont) {
    Font font;
    ASSERT_EQ(font.LoadMarked(port::ProgramModule(), "MENUFONT"), 1);
    CScreen screen;
    ASSERT_EQ(screen.Create(&window), 1);
    ASSERT_EQ(screen.Create(420, 6 * 19), 1);
    screen.Clear(MakeColor(224, 224, 232));
    const char* lines[] = {
        "Are you Sure?", "Sample Rate  FFT Size: 16K", "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~",
        ("\xC7\xFC\xE9\xE2\xE4\xE0\xE5\xE7\xEA\xEB\xE8\xEF\xEE\xEC\xC4\xC5\xC9"
         "\xE6\xC6\xF4\xF6\xF2\xFB\xF9\xFF\xD6\xDC\xA2\xA3\xA5\x50\x83"),
        "\xE1\xED\xF3\xFA\xF1\xD1\xAA\xBA\xBF\xAC\xBD\xBC\xA1\xAB\xBB Exit Program"};
    int y = 0;
    for (const char* line : lines) {
        font.DrawText(screen, -1, y, line, 0, BLIT_KEYED);
        y += 19;
    }
    font.DrawText(screen, 4, y, "0123456789 abcxyz ABCXYZ", 0, BLIT_KEYED);
    ExpectGolden(screen, "text_MENUFONT");
}

TEST_F(Golden, GlyphPatternFontAndSystemText) {
    CScreen screen;
    ASSERT_EQ(screen.Create(&window), 1);
    ASSERT_EQ(screen.Create(240, 60), 1);
    screen.Clear(0);
    DrawGlyphText(screen, "abcdefghijklmnopqrstuvwxyz\n0123456789:!?-=+[] .,><#'@/\\%", 2, 2,
                  MakeColor(255, 255, 255));
    DrawGlyphText(screen, "Centred", -1, 22, MakeColor(0, 255, 0));
    DrawSystemText(screen, -1, 34, 0x0000FFFFu, "System Text 1.2");
    DrawGlyphText(screen, "clipped at both edges of the picture", -1, 48, MakeColor(255, 0, 0));
    ExpectGolden(screen, "glyph_font");
}

TEST_F(Golden, PrimitivesEdgeCases) {
    CScreen screen;
    ASSERT_EQ(screen.Create(&window), 1);
    ASSERT_EQ(screen.Create(160, 100), 1);
    screen.Clear(MakeColor(40, 40, 40));
    const uint16_t white = MakeColor(255, 255, 255);
    // A fill to the far corner stops one short of the last row and column.
    screen.FillRect(120, 60, 500, 500, MakeColor(0, 96, 0));
    screen.FillRect(-5, -5, 3, 3, MakeColor(255, 0, 0));
    screen.FrameRect(6, 6, 30, 20, white);
    // Lines: shallow, steep, given bottom-up, partly off the surface, wider than the surface.
    screen.Line(6, 26, 40.9f, 30.5f, MakeColor(255, 255, 0));
    screen.Line(45, 40, 40, 6, MakeColor(0, 255, 255));
    screen.Line(-30, 95, 70, 45, MakeColor(255, 128, 0));
    screen.Line(-1000, 50, 1000, 52, MakeColor(128, 128, 255));
    screen.LineClipped(50, 10, 150, 40, white, 60, 0, 100, 30);
    screen.HLine(-2, 35, 30, white);
    screen.VLine(158, -10, 40, white);
    screen.VLine(159, 0, 5, white);
    screen.VLineClipped(110, 0, 12, MakeColor(255, 0, 255), 100, 5, 120, 40);
    // Blits of a checkered sprite with a key colour, partly off every edge, in each mode.
    CDib sprite;
    ASSERT_EQ(sprite.Create(12, 12), 1);
    const uint16_t key = MakeColor(255, 0, 255);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            sprite.PutPixel(x, y,
                            (x / 3 + y / 3) % 2 ? key : MakeColor(40 + 16 * x, 200, 255 - 16 * y));
    sprite.SetColorKey(key);
    sprite.SetAlpha(160);
    screen.m_PenColor = MakeColor(255, 255, 0);
    const uint8_t modes[] = {BLIT_COPY,   BLIT_KEYED,        BLIT_ALPHA, BLIT_KEYED_ALPHA,
                             BLIT_SCREEN, BLIT_KEYED_SCREEN, BLIT_PEN};
    for (int i = 0; i < 7; ++i)
        screen.Blit(4 + 16 * i, 62, 12, 12, sprite, 0, 0, modes[i]);
    screen.Blit(-5, 80, 12, 12, sprite, 0, 0, BLIT_KEYED);
    screen.Blit(154, 90, 12, 12, sprite, 0, 0, BLIT_KEYED);
    screen.Blit(60, -6, 12, 12, sprite, 0, 0, BLIT_COPY);
    screen.BlendRect(70, 8, 100, 24, white, 128);
    screen.BlendPixel(159, 99, white, 255);
    ExpectGolden(screen, "primitives");

    screen.FadeRect(20, 20, 140, 80, 0.75f);
    ExpectGolden(screen, "primitives_faded");
}

// Open menus as they wait for a choice, over the view of tests/unit/menu_scene.h: the close
// confirmation and a list long enough for the smaller items.
TEST_F(Golden, OpenMenus) {
    const struct {
        const char* name;
        const char* title;
        const char* items;
    } cases[] = {
        {"menu_confirm", menuscene::kTitle, menuscene::kItems},
        {"menu_nine_items", "FFT Setting",
         "01Sample Rate: 44Khz,02FFT Size: 8K,03Resolution: 5.4Hz,04Time: 186ms,"
         "05Averaging (4x),06Decay: Slow,07Window: Hann,08Reset Peaks,09Exit"},
    };
    // The view's creation loads the labels' font in the program.
    ASSERT_TRUE(buttonFont.LoadText(port::ProgramModule(), "BUTTONFONT"));
    for (const auto& c : cases) {
        CScreen screen;
        ASSERT_TRUE(screen.Create(&window));
        ASSERT_TRUE(screen.CDib::Create(menuscene::kWidth, menuscene::kHeight));
        menuscene::DrawView(screen);
        int waits = 0;
        headless::SetIdleHook([&] {
            ++waits;
            ExpectGolden(screen, c.name);
        });
        Menu menu;
        EXPECT_EQ(menu.Run(screen, c.title, c.items, MenuAll), 0); // the input runs dry
        headless::SetIdleHook({});
        EXPECT_EQ(waits, 1);
        port::Message quit;
        while (port::PeekOwnMessage(&quit)) {
        }
    }
}

} // namespace
