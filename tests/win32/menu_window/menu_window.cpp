// A borderless window with the analyzer's drawing surface in which the close confirmation menu
// runs, for the end-to-end check tests/e2e/menu_window.sh, which looks at the open menu and
// clicks it. Exits with 0 when "Exit Program" was chosen, 1 otherwise. User-interface thread.
#include <windows.h>

#include "../../unit/menu_scene.h"
#include "gfx/menu.h"
#include "gfx/travix_window.h"

namespace {

const char kClass[] = "TONALYXMENUCHECK";
const UINT kRunMenu = WM_APP + 1;

class MenuCheck : public TTravixWindow {
public:
    int OnSize(int32_t width, int32_t height) override {
        screen.CDib::Create(width, height);
        menuscene::DrawView(screen);
        return 0;
    }
};

MenuCheck app;
int choice = -1;

LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        app.Create(window);
        return 0;
    case WM_SIZE:
        app.OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        app.screen.Present();
        return 0;
    }
    case kRunMenu: {
        Menu menu;
        choice = menu.Run(app.screen, menuscene::kTitle, menuscene::kItems, MenuAll);
        app.screen.Present();
        DestroyWindow(window);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ViewProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = kClass;
    if (RegisterClassA(&wc) == 0)
        return 1;
    HWND window =
        CreateWindowExA(0, kClass, "Tonalyx menu check", WS_POPUP, 100, 100, menuscene::kWidth,
                        menuscene::kHeight, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 1;
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    UpdateWindow(window);
    PostMessageA(window, kRunMenu, 0, 0);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return choice == 2 ? 0 : 1;
}
