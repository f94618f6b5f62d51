// The splash: BitmapToRegion pixel by pixel against the key-colour rule, and who owns the splash
// window's picture, region and mask on each path (tests/e2e/splash.sh shows the window on the
// screen). User-interface thread of the test program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "port/win32/win32_splash.h"

namespace {

using Colour = std::function<COLORREF(int x, int y)>;

// A 24-bit picture whose pixel (x, y) has the colour colour(x, y).
HBITMAP MakeBitmap(int width, int height, const Colour& colour) {
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    const int stride = (width * 3 + 3) & ~3;
    for (int y = 0; bitmap != nullptr && y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colour(x, y);
            auto* p = static_cast<uint8_t*>(bits) + y * stride + x * 3;
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    return bitmap;
}

// Builds the region of such a picture and expects every pixel in it exactly when it is not
// key-coloured; returns the number of pixels in the region.
int RegionPixels(int width, int height, const Colour& colour) {
    HBITMAP bitmap = MakeBitmap(width, height, colour);
    HRGN region = BitmapToRegion(bitmap, kSplashKey, kSplashTolerance);
    DeleteObject(bitmap);
    if (region == nullptr) {
        ADD_FAILURE() << "no region";
        return -1;
    }
    int inside = 0, wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colour(x, y);
            const bool key = GetRValue(c) == 255 && GetBValue(c) == 255 && GetGValue(c) <= 16;
            const bool in = PtInRegion(region, x, y) != 0;
            inside += in;
            if (in == key && ++wrong <= 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") " << (in ? "inside" : "outside");
        }
    RECT box;
    GetRgnBox(region, &box);
    EXPECT_TRUE(box.right <= width && box.bottom <= height);
    DeleteObject(region);
    return inside;
}

TEST(BitmapToRegion, ToleranceReachesSixteenAboveTheKeyInEveryChannel) {
    // Row 0: green x, so its first 17 pixels are key; row 1: red one below the key; row 2: blue
    // one below the key in the odd columns.
    EXPECT_EQ(RegionPixels(40, 3,
                           [](int x, int y) {
                               return y == 0   ? RGB(255, x, 255)
                                      : y == 1 ? RGB(254, 0, 255)
                                               : RGB(255, 0, 255 - x % 2);
                           }),
              (40 - 17) + 40 + 20);
}

TEST(BitmapToRegion, ManyRunsAreUnitedPieceByPiece) {
    // A checkerboard of single pixels: 150 * 150 / 2 rectangles, many pieces of 2000.
    EXPECT_EQ(RegionPixels(150, 150,
                           [](int x, int y) { return (x + y) % 2 ? kSplashKey : RGB(0, 0, 0); }),
              150 * 150 / 2);
}

// Records what the window did with its AboutInfo.
class Probe : public AboutInfo {
public:
    Probe(int answer, bool* destroyed) : answer_(answer), destroyed_(destroyed) {}
    ~Probe() override { *destroyed_ = true; }
    int OnCreateWindow(HWND created) override {
        seen = created;
        return answer_;
    }
    int OnCommand(WPARAM wParam, LPARAM) override { return static_cast<int>(wParam) + 1; }
    HWND seen = nullptr;

private:
    int answer_;
    bool* destroyed_;
};

HBITMAP LoadTestBitmap() {
    return static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), "NOKEY", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

TEST(SplashWindow, OwnsItsPictureAndCleansUpOnEveryPath) {
    // The first splash shown registers the window class, as at the program's start.
    HWND shown = ShowSplashWindow(nullptr, "NOKEY");
    ASSERT_NE(shown, nullptr);
    DestroyWindow(shown);

    // Accepted: the window holds the info until it is destroyed, which deletes the picture.
    bool destroyed = false;
    auto* probe = new Probe(1, &destroyed);
    HBITMAP bitmap = LoadTestBitmap();
    HWND splash = CreateSplashWindow(probe, nullptr, bitmap, nullptr, kSplashKey);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(probe->seen, splash);
    EXPECT_EQ(probe->region, nullptr); // the window owns its region now
    EXPECT_EQ(SendMessageA(splash, WM_COMMAND, 41, 0), 42);
    DestroyWindow(splash);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(GetObjectType(bitmap), 0u);

    // Refused by OnCreateWindow: no window, and the creator still owns the info.
    destroyed = false;
    probe = new Probe(0, &destroyed);
    bitmap = LoadTestBitmap();
    EXPECT_EQ(CreateSplashWindow(probe, nullptr, bitmap, nullptr, kSplashKey), nullptr);
    EXPECT_FALSE(destroyed);
    HRGN region = probe->region;
    EXPECT_EQ(GetObjectType(region), DWORD(OBJ_REGION));
    delete probe;
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    EXPECT_EQ(GetObjectType(region), 0u);

    // The mask shapes the window instead of the picture.
    probe = new Probe(1, &destroyed);
    HBITMAP mask =
        MakeBitmap(40, 30, [](int x, int) { return x < 20 ? kSplashKey : RGB(0, 0, 0); });
    splash = CreateSplashWindow(probe, nullptr, LoadTestBitmap(), mask, kSplashKey);
    ASSERT_NE(splash, nullptr);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(splash, shape), SIMPLEREGION);
    RECT box;
    GetRgnBox(shape, &box);
    EXPECT_EQ(box.left, 20);
    EXPECT_EQ(box.right, 40);
    DeleteObject(shape);
    DestroyWindow(splash);
    EXPECT_EQ(GetObjectType(mask), 0u);
}

} // namespace
