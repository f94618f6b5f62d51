// The splash: BitmapToRegion pixel by pixel against the key-colour rule on the test pictures and
// on pictures made here, and who owns the splash window's picture, region and mask on each path
// (tests/e2e/splash.sh shows the window on the screen).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "port/win32/win32_splash.h"

namespace {

HBITMAP LoadTestBitmap(const char* name) {
    return static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// A 24-bit picture whose pixel (x, y) has the colour colour(x, y).
template <typename Colour> HBITMAP MakeBitmap(int width, int height, Colour colour) {
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr)
        return nullptr;
    const int stride = (width * 3 + 3) & ~3;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colour(x, y);
            auto* p = static_cast<uint8_t*>(bits) + y * stride + x * 3;
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    return bitmap;
}

// Pixel colours as the picture holds them, read back through GDI.
std::vector<COLORREF> Pixels(HBITMAP bitmap, int* width, int* height) {
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    *width = info.bmWidth;
    *height = info.bmHeight;
    std::vector<COLORREF> pixels;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < *height; ++y)
        for (int x = 0; x < *width; ++x)
            pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteDC(dc);
    return pixels;
}

bool IsSplashKey(COLORREF c) {
    return GetRValue(c) == 255 && GetBValue(c) == 255 && GetGValue(c) <= 16;
}

// Every pixel lies in the region exactly when it is not key-coloured; returns the number of
// pixels in the region.
int ExpectRegionFollowsKey(HRGN region, HBITMAP bitmap) {
    int width = 0, height = 0;
    const std::vector<COLORREF> pixels = Pixels(bitmap, &width, &height);
    int inside = 0;
    int wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool in = PtInRegion(region, x, y) != 0;
            inside += in;
            if (in == IsSplashKey(pixels[y * width + x]) && ++wrong <= 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") " << (in ? "inside" : "outside");
        }
    RECT box;
    const int kind = GetRgnBox(region, &box);
    if (inside > 0) {
        EXPECT_GE(box.left, 0);
        EXPECT_GE(box.top, 0);
        EXPECT_LE(box.right, width);
        EXPECT_LE(box.bottom, height);
    } else {
        EXPECT_EQ(kind, NULLREGION);
    }
    return inside;
}

TEST(BitmapToRegion, ToleranceReachesSixteenAboveTheKeyInEveryChannel) {
    // Row 0: green x, so its first 17 pixels are key; row 1: red one below the key; row 2: blue
    // one below the key in the odd columns.
    HBITMAP bitmap = MakeBitmap(40, 3, [](int x, int y) {
        return y == 0 ? RGB(255, x, 255) : y == 1 ? RGB(254, 0, 255) : RGB(255, 0, 255 - x % 2);
    });
    ASSERT_NE(bitmap, nullptr);
    HRGN region = BitmapToRegion(bitmap, kSplashKey, kSplashTolerance);
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(ExpectRegionFollowsKey(region, bitmap), (40 - 17) + 40 + 20);
    DeleteObject(region);

    // A key low in a channel takes pixels up to key + tolerance there, capped at 255.
    HBITMAP grey = MakeBitmap(8, 1, [](int x, int) { return RGB(240 + 2 * x, 10 + x, 0); });
    region = BitmapToRegion(grey, RGB(245, 10, 0), RGB(16, 4, 0));
    ASSERT_NE(region, nullptr);
    // Red 240..244 lies below the key, green 15 and up above it: only x = 3 and 4 are key.
    for (int x = 0; x < 9; ++x)
        EXPECT_EQ(PtInRegion(region, x, 0) != 0, x < 3 || (x > 4 && x < 8)) << x;
    DeleteObject(region);
    DeleteObject(grey);
    DeleteObject(bitmap);
}

TEST(BitmapToRegion, ManyRunsAreUnitedPieceByPiece) {
    // A checkerboard of single pixels: 150 * 150 / 2 rectangles, many pieces of 2000.
    HBITMAP bitmap = MakeBitmap(
        150, 150, [](int x, int y) { return (x + y) % 2 ? RGB(255, 0, 255) : RGB(0, 0, 0); });
    ASSERT_NE(bitmap, nullptr);
    HRGN region = BitmapToRegion(bitmap, kSplashKey, kSplashTolerance);
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(ExpectRegionFollowsKey(region, bitmap), 150 * 150 / 2);
    DeleteObject(region);
    DeleteObject(bitmap);
}

TEST(BitmapToRegion, NoPictureNoRegion) {
    EXPECT_EQ(BitmapToRegion(nullptr, kSplashKey, kSplashTolerance), nullptr);
    HBITMAP bitmap = MakeBitmap(4, 4, [](int, int) { return RGB(1, 2, 3); });
    DeleteObject(bitmap);
    EXPECT_EQ(BitmapToRegion(bitmap, kSplashKey, kSplashTolerance), nullptr);
}

TEST(BitmapToRegion, LeavesNoGdiObjectsBehind) {
    // Fill the process's GDI handle table but for 3000 places: anything a call leaves behind
    // then runs out of them long before 4000 calls are done.
    HBITMAP bitmap = MakeBitmap(6, 2, [](int x, int) { return x % 3 ? RGB(0, 0, 0) : kSplashKey; });
    ASSERT_NE(bitmap, nullptr);
    std::vector<HRGN> filler;
    for (HRGN r; filler.size() < 200000 && (r = CreateRectRgn(0, 0, 1, 1)) != nullptr;)
        filler.push_back(r);
    ASSERT_GT(filler.size(), 3000u);
    for (int i = 0; i < 3000; ++i) {
        DeleteObject(filler.back());
        filler.pop_back();
    }
    int calls = 0;
    for (; calls < 4000; ++calls) {
        HRGN region = BitmapToRegion(bitmap, kSplashKey, kSplashTolerance);
        if (region == nullptr)
            break;
        DeleteObject(region);
    }
    for (HRGN r : filler)
        DeleteObject(r);
    DeleteObject(bitmap);
    EXPECT_EQ(calls, 4000);
}

// Records what the window did with its AboutInfo.
class Probe : public AboutInfo {
public:
    explicit Probe(int answer, bool* destroyed) : answer_(answer), destroyed_(destroyed) {}
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

TEST(SplashWindow, OwnsItsPictureAndCleansUpOnEveryPath) {
    // The first splash shown registers the window class, as at the program's start.
    HWND shown = ShowSplashWindow(nullptr, "NOKEY");
    ASSERT_NE(shown, nullptr);
    DestroyWindow(shown);

    // Accepted: the window holds the info until it is destroyed, which deletes the picture.
    bool destroyed = false;
    auto* probe = new Probe(1, &destroyed);
    HBITMAP bitmap = LoadTestBitmap("NOKEY");
    HWND splash = CreateSplashWindow(probe, nullptr, bitmap, nullptr, kSplashKey);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(probe->seen, splash);
    EXPECT_EQ(probe->window, splash);
    EXPECT_EQ(probe->region, nullptr); // the window owns its region now
    EXPECT_EQ(SendMessageA(splash, WM_COMMAND, 41, 0), 42);
    DestroyWindow(splash);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(GetObjectType(bitmap), 0u);

    // Refused by OnCreateWindow: no window, and the creator still owns the info.
    destroyed = false;
    probe = new Probe(0, &destroyed);
    bitmap = LoadTestBitmap("NOKEY");
    EXPECT_EQ(CreateSplashWindow(probe, nullptr, bitmap, nullptr, kSplashKey), nullptr);
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(probe->bitmap, bitmap);
    HRGN region = probe->region;
    EXPECT_EQ(GetObjectType(region), DWORD(OBJ_REGION));
    delete probe;
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    EXPECT_EQ(GetObjectType(region), 0u);

    // The mask shapes the window instead of the picture.
    destroyed = false;
    probe = new Probe(1, &destroyed);
    HBITMAP mask =
        MakeBitmap(40, 30, [](int x, int) { return x < 20 ? kSplashKey : RGB(0, 0, 0); });
    splash = CreateSplashWindow(probe, nullptr, LoadTestBitmap("NOKEY"), mask, kSplashKey);
    ASSERT_NE(splash, nullptr);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(splash, shape), SIMPLEREGION);
    RECT box;
    GetRgnBox(shape, &box);
    EXPECT_EQ(box.left, 20);
    EXPECT_EQ(box.right, 40);
    DeleteObject(shape);
    DestroyWindow(splash);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(GetObjectType(mask), 0u);
}

} // namespace
