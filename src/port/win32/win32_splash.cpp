// The start-up splash window and the region that shapes it. User-interface thread; the main loop
// delivers the splash's messages while start-up goes on.
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <new>
#include <vector>

#include "port/port.h"
#include "port/win32/win32_splash.h"

namespace {

// Rectangles handed to the system per region piece.
constexpr DWORD kRectsPerPiece = 2000;

// Collects the rectangles of the opaque runs and unites them, piece by piece, into one region.
class RegionBuilder {
public:
    RegionBuilder()
        : data_(sizeof(RGNDATAHEADER) + kRectsPerPiece * sizeof(RECT)),
          region_(CreateRectRgn(0, 0, 0, 0)) {
        Header().dwSize = sizeof(RGNDATAHEADER);
        Header().iType = RDH_RECTANGLES;
        Empty();
    }
    ~RegionBuilder() {
        if (region_ != nullptr)
            DeleteObject(region_);
    }
    RegionBuilder(const RegionBuilder&) = delete;
    RegionBuilder& operator=(const RegionBuilder&) = delete;

    bool Add(LONG left, LONG top, LONG right, LONG bottom) {
        RGNDATAHEADER& h = Header();
        Rects()[h.nCount++] = RECT{left, top, right, bottom};
        h.rcBound.left = std::min(h.rcBound.left, left);
        h.rcBound.top = std::min(h.rcBound.top, top);
        h.rcBound.right = std::max(h.rcBound.right, right);
        h.rcBound.bottom = std::max(h.rcBound.bottom, bottom);
        return h.nCount < kRectsPerPiece || Flush();
    }

    // The united region, handed to the caller; null when a piece could not be made.
    HRGN Finish() {
        if (!Flush())
            return nullptr;
        HRGN done = region_;
        region_ = nullptr;
        return done;
    }

private:
    RGNDATAHEADER& Header() { return *reinterpret_cast<RGNDATAHEADER*>(data_.data()); }
    RECT* Rects() { return reinterpret_cast<RECT*>(data_.data() + sizeof(RGNDATAHEADER)); }

    void Empty() {
        RGNDATAHEADER& h = Header();
        h.nCount = 0;
        h.nRgnSize = 0;
        h.rcBound = RECT{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    }

    bool Flush() {
        if (region_ == nullptr)
            return false;
        RGNDATAHEADER& h = Header();
        if (h.nCount == 0)
            return true;
        h.nRgnSize = h.nCount * sizeof(RECT);
        HRGN piece = ExtCreateRegion(nullptr, sizeof(RGNDATAHEADER) + h.nRgnSize,
                                     reinterpret_cast<const RGNDATA*>(data_.data()));
        const bool united =
            piece != nullptr && CombineRgn(region_, region_, piece, RGN_OR) != ERROR;
        if (piece != nullptr)
            DeleteObject(piece);
        Empty();
        if (!united) {
            DeleteObject(region_);
            region_ = nullptr;
        }
        return united;
    }

    std::vector<unsigned char> data_;
    HRGN region_;
};

// A 32-bit top-down copy of a bitmap: one DWORD 0x00RRGGBB per pixel, row by row from the top.
class PixelCopy {
public:
    explicit PixelCopy(HBITMAP bitmap) {
        BITMAP info = {};
        if (GetObjectA(bitmap, sizeof info, &info) == 0 || info.bmWidth <= 0 || info.bmHeight == 0)
            return;
        width_ = info.bmWidth;
        height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
        BITMAPINFO format = {};
        format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        format.bmiHeader.biWidth = width_;
        format.bmiHeader.biHeight = -height_;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        HDC source = CreateCompatibleDC(nullptr);
        HDC target = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        section_ = target != nullptr
                       ? CreateDIBSection(target, &format, DIB_RGB_COLORS, &bits, nullptr, 0)
                       : nullptr;
        if (source != nullptr && section_ != nullptr) {
            HGDIOBJ oldSource = SelectObject(source, bitmap);
            HGDIOBJ oldTarget = SelectObject(target, section_);
            if (oldSource != nullptr && oldTarget != nullptr &&
                BitBlt(target, 0, 0, width_, height_, source, 0, 0, SRCCOPY)) {
                GdiFlush();
                pixels_ = static_cast<const uint32_t*>(bits);
            }
            if (oldSource != nullptr)
                SelectObject(source, oldSource);
            if (oldTarget != nullptr)
                SelectObject(target, oldTarget);
        }
        if (source != nullptr)
            DeleteDC(source);
        if (target != nullptr)
            DeleteDC(target);
    }
    ~PixelCopy() {
        if (section_ != nullptr)
            DeleteObject(section_);
    }
    PixelCopy(const PixelCopy&) = delete;
    PixelCopy& operator=(const PixelCopy&) = delete;

    bool Ready() const { return pixels_ != nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    const uint32_t* Row(int y) const { return pixels_ + static_cast<std::size_t>(y) * width_; }

private:
    int width_ = 0;
    int height_ = 0;
    HBITMAP section_ = nullptr;
    const uint32_t* pixels_ = nullptr;
};

// The transparent range of one channel: key .. key + tolerance, capped at 255.
struct Range {
    uint32_t low;
    uint32_t high;
    bool Holds(uint32_t value) const { return value >= low && value <= high; }
};

Range ChannelRange(BYTE key, BYTE tolerance) {
    return Range{key, std::min<uint32_t>(255, static_cast<uint32_t>(key) + tolerance)};
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    return SIZE{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

void PaintBitmap(HWND window, HBITMAP bitmap) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HDC memory = bitmap != nullptr && dc != nullptr ? CreateCompatibleDC(dc) : nullptr;
    if (memory != nullptr) {
        const SIZE size = BitmapSize(bitmap);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(dc, 0, 0, size.cx, size.cy, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK SplashWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* info = reinterpret_cast<AboutInfo*>(GetWindowLongPtrA(window, 0));
    switch (message) {
    case WM_CREATE: {
        auto* created =
            static_cast<AboutInfo*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        // The window keeps no pointer until creation has succeeded: on failure the creator
        // still owns info and deletes it.
        if (created == nullptr || created->region == nullptr || created->bitmap == nullptr)
            return -1;
        created->window = window;
        if (created->OnCreateWindow(window) == 0) {
            created->window = nullptr;
            return -1;
        }
        SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(created));
        if (SetWindowRgn(window, created->region, TRUE) != 0)
            created->region = nullptr;
        return 0;
    }
    case WM_PAINT:
        PaintBitmap(window, info != nullptr ? info->bitmap : nullptr);
        return 0;
    case WM_NCHITTEST:
        return HTCAPTION;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            DestroyWindow(window);
            return 0;
        }
        break;
    case WM_TIMER:
        KillTimer(window, wParam);
        DestroyWindow(window);
        return 0;
    case WM_COMMAND:
        return info != nullptr ? info->OnCommand(wParam, lParam) : 0;
    case WM_DESTROY:
        SetWindowLongPtrA(window, 0, 0);
        delete info;
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

AboutInfo::~AboutInfo() {
    if (bitmap != nullptr)
        DeleteObject(bitmap);
    if (maskBitmap != nullptr)
        DeleteObject(maskBitmap);
    if (region != nullptr)
        DeleteObject(region);
}

int AboutInfo::OnCreateWindow(HWND) {
    return 1;
}

int AboutInfo::OnCommand(WPARAM, LPARAM) {
    return 0;
}

HRGN BitmapToRegion(HBITMAP bitmap, COLORREF key, COLORREF tolerance) {
    if (bitmap == nullptr)
        return nullptr;
    PixelCopy copy(bitmap);
    if (!copy.Ready())
        return nullptr;
    const Range red = ChannelRange(GetRValue(key), GetRValue(tolerance));
    const Range green = ChannelRange(GetGValue(key), GetGValue(tolerance));
    const Range blue = ChannelRange(GetBValue(key), GetBValue(tolerance));
    auto transparent = [&](uint32_t pixel) {
        return red.Holds((pixel >> 16) & 0xFF) && green.Holds((pixel >> 8) & 0xFF) &&
               blue.Holds(pixel & 0xFF);
    };

    RegionBuilder builder;
    for (int y = 0; y < copy.Height(); ++y) {
        const uint32_t* row = copy.Row(y);
        int x = 0;
        while (x < copy.Width()) {
            while (x < copy.Width() && transparent(row[x]))
                ++x;
            const int start = x;
            while (x < copy.Width() && !transparent(row[x]))
                ++x;
            if (x > start && !builder.Add(start, y, x, y + 1))
                return nullptr;
        }
    }
    return builder.Finish();
}

HWND CreateSplashWindow(AboutInfo* info, HWND owner, HBITMAP bitmap, HBITMAP mask, COLORREF key) {
    info->bitmap = bitmap;
    info->maskBitmap = mask;
    info->region = BitmapToRegion(mask != nullptr ? mask : bitmap, key, kSplashTolerance);
    if (info->region == nullptr)
        return nullptr;
    const SIZE size = BitmapSize(bitmap);
    const int x = (GetSystemMetrics(SM_CXFULLSCREEN) - size.cx) / 2;
    const int y = (GetSystemMetrics(SM_CYFULLSCREEN) - size.cy) / 2;
    HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kSplashClass, "", WS_POPUP, x,
                                  y, size.cx, size.cy, owner, nullptr,
                                  static_cast<HINSTANCE>(port::ProgramModule()), info);
    if (window == nullptr)
        return nullptr;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    return window;
}

HWND ShowSplashWindow(HWND owner, const char* resource) {
    HINSTANCE instance = static_cast<HINSTANCE>(port::ProgramModule());
    WNDCLASSA splashClass = {};
    splashClass.style = CS_HREDRAW | CS_VREDRAW;
    splashClass.lpfnWndProc = SplashWndProc;
    splashClass.cbWndExtra = sizeof(AboutInfo*);
    splashClass.hInstance = instance;
    splashClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    splashClass.lpszClassName = kSplashClass;
    RegisterClassA(&splashClass); // fails harmlessly when an earlier splash registered it

    auto* bitmap = static_cast<HBITMAP>(
        LoadImageA(instance, resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap == nullptr)
        return nullptr;
    auto* info = new (std::nothrow) AboutInfo;
    if (info == nullptr) {
        DeleteObject(bitmap);
        return nullptr;
    }
    HWND window = CreateSplashWindow(info, owner, bitmap, nullptr, kSplashKey);
    if (window == nullptr) {
        delete info;
        return nullptr;
    }
    if (SetTimer(window, kSplashTimer, kSplashMs, nullptr) == 0) {
        DestroyWindow(window);
        return nullptr;
    }
    return window;
}

namespace port {

void ShowSplashWindow() {
    ::ShowSplashWindow(nullptr);
}

} // namespace port
