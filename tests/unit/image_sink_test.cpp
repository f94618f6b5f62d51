// The headless image sink: the PNG and BMP files written from presented frames read back to the
// same 5-5-5 pixels.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "port/headless/headless.h"
#include "test_bitmaps.h"

namespace {

headless::Image Pattern(int w, int h) {
    headless::Image image;
    image.width = w;
    image.height = h;
    for (int i = 0; i < w * h; ++i)
        image.pixels.push_back(static_cast<uint16_t>((i * 2654435761u >> 7) & 0x7FFF));
    return image;
}

TEST(ImageSink, FilesReadBackExactly) {
    // Odd widths exercise the BMP row padding; 300 x 250 PNG rows span several stored blocks.
    const int sizes[][2] = {{1, 1}, {3, 2}, {7, 5}, {300, 250}};
    for (const auto& size : sizes) {
        const headless::Image image = Pattern(size[0], size[1]);
        for (const char* ext : {".png", ".bmp"}) {
            const std::string path = testbmp::TempPath(std::string("sink") + ext);
            ASSERT_TRUE(headless::WriteImage(image, path));
            headless::Image back;
            ASSERT_TRUE(headless::ReadImage(path, &back)) << ext;
            EXPECT_EQ(back.width, image.width);
            EXPECT_EQ(back.height, image.height);
            EXPECT_EQ(back.pixels, image.pixels) << ext << " " << size[0] << "x" << size[1];
        }
    }
    std::ifstream png(testbmp::TempPath("sink.png"), std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(png), {}};
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "\x89PNG\r\n\x1a\n");
}

TEST(ImageSink, RefusesWhatItCannotWriteOrRead) {
    headless::Image empty;
    EXPECT_FALSE(headless::WriteImage(empty, ::testing::TempDir() + "empty.png"));
    headless::Image wrong = Pattern(4, 4);
    wrong.pixels.pop_back();
    EXPECT_FALSE(headless::WriteImage(wrong, ::testing::TempDir() + "wrong.png"));
    EXPECT_FALSE(headless::WriteImage(Pattern(2, 2), ::testing::TempDir() + "no/such/dir.png"));
    headless::Image out;
    EXPECT_FALSE(headless::ReadImage(::testing::TempDir() + "missing.png", &out));
    const std::string garbage = testbmp::TempPath("garbage.png");
    std::ofstream(garbage, std::ios::binary) << "\x89PNG\r\n\x1a\nnot really";
    EXPECT_FALSE(headless::ReadImage(garbage, &out));
}

} // namespace
