// Keyboard and mouse state on Windows. User-interface thread.
#include <windows.h>

#include "port/port.h"

namespace port {

bool KeyIsDown(int virtualKey) {
    return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

bool CursorInFocusWindow(int* x, int* y) {
    HWND focus = GetFocus();
    POINT p;
    if (focus == nullptr || !GetCursorPos(&p) || !ScreenToClient(focus, &p))
        return false;
    *x = p.x;
    *y = p.y;
    return true;
}

void CaptureMouse() {
    HWND focus = GetFocus();
    if (focus != nullptr)
        SetCapture(focus);
}

void ReleaseMouse() {
    ReleaseCapture();
}

} // namespace port
