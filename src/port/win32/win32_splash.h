// The start-up splash: a borderless topmost window shaped like its picture, with every pixel of
// the key colour cut out. Include after <windows.h>. User-interface thread.
#pragma once

constexpr char kSplashClass[] = "AboutClass";
constexpr char kSplashResource[] = "SPLASH";
constexpr UINT_PTR kSplashTimer = 1;
constexpr UINT kSplashMs = 5000;
constexpr COLORREF kSplashKey = RGB(255, 0, 255);
constexpr COLORREF kSplashTolerance = RGB(16, 16, 16);

// What one splash window owns; it dies with the window.
class AboutInfo {
public:
    AboutInfo() = default;
    // Deletes bitmap, maskBitmap and region where present. The region is no longer here once the
    // window has taken it: the system then owns it.
    virtual ~AboutInfo();
    AboutInfo(const AboutInfo&) = delete;
    AboutInfo& operator=(const AboutInfo&) = delete;

    // Called when the window is created; 0 makes the creation fail.
    virtual int OnCreateWindow(HWND created);
    // Called for WM_COMMAND; its result is the message's.
    virtual int OnCommand(WPARAM wParam, LPARAM lParam);

    HWND window = nullptr;
    HRGN region = nullptr;
    HBITMAP bitmap = nullptr;
    HBITMAP maskBitmap = nullptr; // the picture the region is built from instead of bitmap
};

// A region covering every pixel of bitmap whose colour lies outside key .. key + tolerance in
// some channel (each channel's range capped at 255): an empty region when every pixel is
// transparent, null when the bitmap cannot be read.
HRGN BitmapToRegion(HBITMAP bitmap, COLORREF key, COLORREF tolerance);

// Hands bitmap and mask to info, builds its region and creates the shaped window centred on the
// screen, shown and painted. Null when the region or the window cannot be made; info then still
// owns what it was given.
HWND CreateSplashWindow(AboutInfo* info, HWND owner, HBITMAP bitmap, HBITMAP mask, COLORREF key);

// Registers the window class, loads the bitmap resource and shows it for kSplashMs ms (Esc closes
// it earlier). Null, and nothing shown, when the picture is missing or the window fails.
HWND ShowSplashWindow(HWND owner, const char* resource = kSplashResource);
