// Keyboard and mouse state of the headless port, set by tests and scripts. User-interface
// thread, like the port functions it answers.
#include "port/headless/headless.h"
#include "port/headless/headless_reset.h"
#include "port/port.h"

namespace {

bool keys[256];
int cursorX;
int cursorY;
void* focusWindow = reinterpret_cast<void*>(1);
bool captured;

} // namespace

namespace headless {

void SetKeyDown(int virtualKey, bool down) {
    if (virtualKey >= 0 && virtualKey < 256)
        keys[virtualKey] = down;
}

void SetCursor(int x, int y) {
    cursorX = x;
    cursorY = y;
}

void SetFocusWindow(void* window) {
    focusWindow = window;
}

bool MouseCaptured() {
    return captured;
}

void ResetInput() {
    for (bool& key : keys)
        key = false;
    cursorX = 0;
    cursorY = 0;
    focusWindow = reinterpret_cast<void*>(1);
    captured = false;
}

} // namespace headless

namespace port {

bool KeyIsDown(int virtualKey) {
    return virtualKey >= 0 && virtualKey < 256 && keys[virtualKey];
}

bool CursorInFocusWindow(int* x, int* y) {
    if (focusWindow == nullptr)
        return false;
    *x = cursorX;
    *y = cursorY;
    return true;
}

void CaptureMouse() {
    captured = focusWindow != nullptr;
}

void ReleaseMouse() {
    captured = false;
}

} // namespace port
