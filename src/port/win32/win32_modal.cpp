// Modal message loops of the Windows program over the thread's message queue. UI thread only.
#include <windows.h>

#include "port/port.h"

namespace port {

bool NextMessage(Message* out) {
    MSG msg = {};
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) {
        // An error ends the loop like the quit message rather than spinning on it.
        msg = MSG{};
        msg.message = WM_QUIT;
    }
    out->window = msg.hwnd;
    out->message = msg.message;
    out->wParam = msg.wParam;
    out->lParam = msg.lParam;
    return got > 0;
}

void DispatchToWindow(const Message& message) {
    MSG msg = {};
    msg.hwnd = static_cast<HWND>(message.window);
    msg.message = message.message;
    msg.wParam = message.wParam;
    msg.lParam = message.lParam;
    msg.time = GetMessageTime();
    const DWORD point = GetMessagePos();
    msg.pt.x = static_cast<short>(LOWORD(point));
    msg.pt.y = static_cast<short>(HIWORD(point));
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

void PostQuit(int exitCode) {
    PostQuitMessage(exitCode);
}

} // namespace port
