// Shows the splash picture named on the command line (default "SPLASH") and serves its messages
// until it closes, for the end-to-end check of the shaped window. Prints where the splash stands
// and how long it lived. User-interface thread only.
#include <windows.h>

#include <cstdio>

#include "port/win32/win32_splash.h"

int main(int argc, char** argv) {
    const char* picture = argc > 1 ? argv[1] : kSplashResource;
    const DWORD start = GetTickCount();
    HWND splash = ShowSplashWindow(nullptr, picture);
    if (splash == nullptr) {
        std::printf("no splash\n");
        return 1;
    }
    RECT r;
    GetWindowRect(splash, &r);
    std::printf("splash %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    std::fflush(stdout);
    // The splash closes itself; the limit only keeps a broken one from hanging the check.
    while (IsWindow(splash) && GetTickCount() - start < 20000) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(1);
    }
    const bool closed = !IsWindow(splash);
    std::printf("%s after %lu ms\n", closed ? "closed" : "still open", GetTickCount() - start);
    return closed ? 0 : 2;
}
