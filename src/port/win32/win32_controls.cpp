// The program's windows and controls on Windows: window classes, client sizes, the status bar
// texts and the view's scroll bar. User-interface thread only.
#include <windows.h>

#include <commctrl.h>

#include "port/port.h"
#include "port/win32/win32_windows.h"

HWND frameWindow;
HWND topRebar;
HWND bottomRebar;
HWND statusBar;
HWND analyzerView;

bool RegisterWindowClass(const char* name, WNDPROC procedure, HICON icon, int background,
                         LPCSTR menu) {
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = procedure;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = static_cast<HINSTANCE>(port::ProgramModule());
    wc.hIcon = icon;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
    wc.lpszMenuName = menu;
    wc.lpszClassName = name;
    return RegisterClassA(&wc) != 0;
}

namespace port {

bool ClientSize(WindowHandle window, int* width, int* height) {
    RECT r;
    if (window == nullptr || !GetClientRect(static_cast<HWND>(window), &r)) {
        *width = 0;
        *height = 0;
        return false;
    }
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return true;
}

void SetStatusText(int part, const char* text) {
    if (statusBar != nullptr)
        SendMessageA(statusBar, SB_SETTEXTA, static_cast<WPARAM>(part),
                     reinterpret_cast<LPARAM>(text));
}

void SetViewScrollBar(int maximum, int page, int position) {
    if (analyzerView == nullptr)
        return;
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = maximum;
    info.nPage = static_cast<UINT>(page);
    info.nPos = position;
    SetScrollInfo(analyzerView, SB_HORZ, &info, TRUE);
}

} // namespace port
