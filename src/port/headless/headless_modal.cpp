// Modal message loops of the headless port: scripted input from the calling thread's queue, an
// idle hook for the test, and a record of what was dispatched. UI thread only.
#include <utility>

#include "port/headless/headless.h"
#include "port/messages.h"
#include "port/port.h"

namespace {

std::function<void()> idleHook;
std::vector<port::Message> dispatched;

} // namespace

namespace headless {

void PostMouse(port::WindowHandle window, uint32_t message, int x, int y) {
    const uint32_t point = (static_cast<uint32_t>(y) << 16) | (static_cast<uint32_t>(x) & 0xFFFF);
    PostInput(window, message, 0, static_cast<intptr_t>(point));
}

void SetIdleHook(std::function<void()> hook) {
    idleHook = std::move(hook);
}

std::vector<port::Message> TakeDispatched() {
    std::vector<port::Message> taken;
    taken.swap(dispatched);
    return taken;
}

} // namespace headless

namespace port {

bool NextMessage(Message* out) {
    if (!PeekOwnMessage(out)) {
        if (idleHook)
            idleHook();
        if (!PeekOwnMessage(out)) {
            // Nothing will ever arrive: end the loop as a quit would.
            *out = {nullptr, WM_QUIT, 0, 0};
        }
    }
    return out->message != WM_QUIT;
}

void DispatchToWindow(const Message& message) {
    dispatched.push_back(message);
}

void PostQuit(int exitCode) {
    PostToThread(CurrentThreadId(), WM_QUIT, static_cast<uintptr_t>(exitCode), 0);
}

} // namespace port
