// The Windows program's entry: registers the window classes, opens the frame window centred on
// the screen and runs the main loop. User-interface thread.
#include <windows.h>

#include <commctrl.h>
#include <mmsystem.h>

#include "app/version.h"

namespace {

const char kFrameClass[] = "TRAVIXAPICLASS";
const int kFrameWidth = 720;
const int kFrameHeight = 480;

HINSTANCE instance;

LRESULT CALLBACK FrameWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.x = 450;
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.y = 480;
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool RegisterFrameClass() {
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FrameWndProc;
    wc.cbWndExtra = 4;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "PROGRAMICON");
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = MAKEINTRESOURCEA(1);
    wc.lpszClassName = kFrameClass;
    return RegisterClassA(&wc) != 0;
}

// Serves at most one window message per pass and paces frames at more than 30 ms apart.
void RunMainLoop() {
    DWORD lastFrame = 0;
    bool quit = false;
    while (!quit) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            GetMessageA(&msg, nullptr, 0, 0);
            if (msg.message == WM_QUIT) {
                quit = true;
            } else {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        const DWORD now = timeGetTime();
        if (now - lastFrame > 30)
            lastFrame = now;
        Sleep(1);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), 0x524};
    InitCommonControlsEx(&controls);
    instance = hInstance;

    HWND existing = FindWindowA(kFrameClass, nullptr);
    if (existing != nullptr) {
        SetWindowPos(existing, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetWindowPos(existing, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ShowWindow(existing, SW_SHOWNORMAL);
        return 0;
    }
    if (!RegisterFrameClass())
        return 0;

    const int x = (GetSystemMetrics(SM_CXSCREEN) - kFrameWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kFrameHeight) / 2;
    HWND frame =
        CreateWindowA(kFrameClass, TONALYX_PRODUCT " " TONALYX_VERSION, WS_OVERLAPPEDWINDOW, x, y,
                      kFrameWidth, kFrameHeight, nullptr, nullptr, instance, nullptr);
    if (frame == nullptr)
        return 0;
    ShowWindow(frame, SW_SHOW);
    RunMainLoop();
    return 0;
}
