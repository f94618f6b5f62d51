// Presenting the surface on a real window: one SetDIBitsToDevice copy of the whole frame.
#include <windows.h>

#include <gtest/gtest.h>

#include "gfx/screen.h"

namespace {

TEST(Win32Present, FrameReachesTheWindow) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "GfxPresentTest";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "GfxPresentTest", "present", WS_POPUP | WS_VISIBLE,
                                  20, 20, 240, 320, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    UpdateWindow(window);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);

    CScreen screen;
    ASSERT_EQ(screen.Create(window), 1);
    EXPECT_EQ(screen.m_Width, 240);
    EXPECT_EQ(screen.m_Height, 320);
    screen.Clear(MakeColor(0, 0, 255));
    screen.FillRect(0, 0, 121, 161, MakeColor(255, 0, 0)); // top-left quarter red
    screen.Present();
    GdiFlush();

    HDC dc = GetDC(window);
    const COLORREF topLeft = GetPixel(dc, 10, 10);
    const COLORREF bottomRight = GetPixel(dc, 200, 300);
    ReleaseDC(window, dc);
    DestroyWindow(window);
    // The rows arrive top-down: red at the top left, blue at the bottom right.
    EXPECT_EQ(GetRValue(topLeft), 255u);
    EXPECT_EQ(GetBValue(topLeft), 0u);
    EXPECT_EQ(GetBValue(bottomRight), 255u);
    EXPECT_EQ(GetRValue(bottomRight), 0u);
}

} // namespace
