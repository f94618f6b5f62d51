// The spectrogram in the running analyzer: a resize starts the image afresh at the plot's new
// size (its colours, rows and pause are drawn in tests/golden/view_spectrogram*.png).
#include <gtest/gtest.h>

#include <string>

#include "view_test_support.h"
#include "views/spectrogram_view.h"

namespace {

using namespace view_test;

// Pixels drawn in rows y0 .. y1 - 1 of the image, all of it by default.
int LitPixels(int y0 = 0, int y1 = spectrogramImage.m_Height) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < spectrogramImage.m_Width; ++x)
            n += spectrogramImage.GetPixel(x, y) != 0;
    return n;
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
    EXPECT_GT(LitPixels(209, 210), 0);
    EXPECT_EQ(LitPixels(0, 209), 0);
}

} // namespace
