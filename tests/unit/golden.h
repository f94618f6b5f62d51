// Comparison of a presented frame with its golden image in tests/golden, pixel for pixel; with
// TONALYX_UPDATE_GOLDEN=1 the image is rewritten instead (look at it before committing).
// Test thread only.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "gfx/screen.h"
#include "port/headless/headless.h"

// Presents the screen and compares the presented frame with tests/golden/<name>.png.
inline void ExpectGolden(CScreen& screen, const std::string& name) {
    screen.Present();
    headless::Image frame;
    ASSERT_TRUE(headless::LastPresented(screen.m_Window, &frame));
    const std::string path = TONALYX_SOURCE_DIR "/tests/golden/" + name + ".png";
    const char* update = std::getenv("TONALYX_UPDATE_GOLDEN");
    if (update != nullptr && *update == '1') {
        ASSERT_TRUE(headless::WriteImage(frame, path));
        return;
    }
    headless::Image golden;
    ASSERT_TRUE(headless::ReadImage(path, &golden)) << path;
    ASSERT_EQ(frame.width, golden.width) << name;
    ASSERT_EQ(frame.height, golden.height) << name;
    int differing = 0, firstX = -1, firstY = -1;
    for (std::size_t i = 0; i < frame.pixels.size(); ++i) {
        if (frame.pixels[i] != golden.pixels[i] && differing++ == 0) {
            firstX = static_cast<int>(i % frame.width);
            firstY = static_cast<int>(i / frame.width);
        }
    }
    EXPECT_EQ(differing, 0) << name << ": first difference at " << firstX << "," << firstY;
}
