// The spectrogram: the hue cycle of its colours, the newest row built from channel 1's bins as
// the plot maps them, the image scrolling up one row per frame, freezing while paused, and the
// events that start it afresh.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "view_test_support.h"
#include "views/spectrogram_view.h"
#include "views/zoom.h"

namespace {

using namespace view_test;

int LitPixels() {
    int n = 0;
    for (int y = 0; y < spectrogramImage.m_Height; ++y)
        for (int x = 0; x < spectrogramImage.m_Width; ++x)
            n += spectrogramImage.GetPixel(x, y) != 0;
    return n;
}

class SpectrogramView : public ViewTest {
protected:
    void Start(int width = 720, int height = 480) {
        Init(44100, 8192, width, height);
        DrawSpectrogram(screen, 1);
        ASSERT_NE(spectrogramImage.m_Bits, nullptr);
    }
    void Frame() {
        ClearSurface();
        DrawSpectrogram(screen, 0);
    }
    // Pixel column c of the image's row, counted from the bottom (0 is the newest row).
    uint16_t Image(int c, int rowFromBottom) const {
        return spectrogramImage.GetPixel(c, spectrogramImage.m_Height - 1 - rowFromBottom);
    }
};

TEST_F(SpectrogramView, RowsMoveUpOneFramePerDrawingAndFreezeWhilePaused) {
    Start();
    const float levels[3] = {0.0f, -25.0f, -50.0f};
    for (float v : levels) {
        Flat(0, v);
        Frame();
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Image(100, i), SpectrogramColour(static_cast<int>(levels[2 - i]))) << i;
    EXPECT_EQ(Image(100, 3), 0);

    const std::vector<uint16_t> before(spectrogramImage.m_Bits,
                                       spectrogramImage.m_Bits +
                                           spectrogramImage.m_Width * spectrogramImage.m_Height);
    paused = 1;
    Flat(0, -10.0f);
    Frame();
    displayMode = kModeSpectrogram;
    zoom = 4.0;
    firstBin = 100;
    ZoomView(VK_UP);
    ScrollView(VK_RIGHT, kModeSpectrogram);
    EXPECT_EQ(zoom, 4.0);
    EXPECT_EQ(firstBin, 100);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), spectrogramImage.m_Bits));

    // Zoom and scroll keys clear the history once it runs again.
    paused = 0;
    ZoomView(VK_UP);
    EXPECT_EQ(zoom, 5.0);
    EXPECT_EQ(LitPixels(), 0);
    Frame();
    const int32_t left = firstBin;
    ScrollView(VK_RIGHT, kModeSpectrogram);
    EXPECT_EQ(LitPixels(), 0);
    EXPECT_GT(firstBin, left);
}

// The running analyzer: choosing the mode, and every resize, start the image afresh at the
// plot's new size; the frame that does so draws nothing else of the view.
class SpectrogramInTheAnalyzer : public RunningViewTest {};

TEST_F(SpectrogramInTheAnalyzer, ResizeStartsAnEmptyImageAtTheNewSize) {
    Start(3000.0, 720, 480, kModeSpectrogram, false);
    EXPECT_EQ(spectrogramReset, 0);
    EXPECT_EQ(spectrogramImage.m_Width, 670);
    EXPECT_EQ(spectrogramImage.m_Height, 390);
    ASSERT_EQ(run.RunBlocks(5), 5);
    EXPECT_GT(LitPixels(), 5);

    std::string error;
    ASSERT_TRUE(run.Resize(601, 300, &error)) << error;
    ASSERT_EQ(run.RunBlocks(1), 1);
    EXPECT_EQ(spectrogramImage.m_Width, 552); // 551 columns, made even
    EXPECT_EQ(spectrogramImage.m_Height, 210);
    EXPECT_EQ(LitPixels(), 0);
    ASSERT_EQ(run.RunBlocks(1), 1);
    int newest = 0;
    for (int x = 0; x < spectrogramImage.m_Width; ++x)
        newest += spectrogramImage.GetPixel(x, 209) != 0;
    EXPECT_GT(newest, 0);
    EXPECT_EQ(spectrogramImage.GetPixel(0, 208), 0);
}

} // namespace
