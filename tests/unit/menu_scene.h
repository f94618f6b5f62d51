// The view that the menu golden images and the Windows menu check draw behind the menu: a dark
// plot with a grid and a trace, in integer arithmetic only, so both builds paint the very same
// pixels.
#pragma once

#include "gfx/dib.h"

namespace menuscene {

constexpr int kWidth = 360;
constexpr int kHeight = 300;
constexpr const char* kTitle = "Are you Sure?";
constexpr const char* kItems = "01Continue,02Exit Program";

inline void DrawView(CDib& view) {
    view.Clear(MakeColor(0, 0, 40));
    for (int y = 0; y < view.m_Height; ++y)
        view.HLine(0, y, view.m_Width, MakeColor(0, 0, 40 + y * 60 / view.m_Height));
    for (int x = 0; x < view.m_Width; x += 32)
        view.VLine(x, 0, view.m_Height, MakeColor(0, 72, 96));
    for (int y = 0; y < view.m_Height; y += 30)
        view.HLine(0, y, view.m_Width, MakeColor(0, 72, 96));
    // A spectrum-like trace: a falling slope with a few peaks.
    int previous = 0;
    for (int x = 0; x < view.m_Width; ++x) {
        int y = 60 + x * 170 / view.m_Width + ((x * 37) % 23) / 4;
        if (x % 61 < 4)
            y -= 50;
        if (x > 0)
            view.Line(static_cast<float>(x - 1), static_cast<float>(previous),
                      static_cast<float>(x), static_cast<float>(y), MakeColor(0, 255, 64));
        previous = y;
    }
}

} // namespace menuscene
