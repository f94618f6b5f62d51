// Controls of the headless port, for tests and tonalyx-cli: the virtual clock, the record of
// message boxes, the resource table and the image sink of presented frames. Any thread unless
// noted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "port/port.h"

namespace headless {

// ---- Clock: virtual by default (starts at 0; SleepMs advances it) ----
void UseRealClock(bool real);
void SetTime(uint32_t ms);
void AdvanceTime(uint32_t ms);

// ---- Message boxes: recorded, answered with a preset result ----
struct ShownMessage {
    std::string text;
    std::string caption;
    unsigned flags;
};
// Returns the message boxes shown since the last call and forgets them.
std::vector<ShownMessage> TakeMessages();
// The answer every later message box gives (IDOK until set).
void SetMessageAnswer(int result);

// ---- Keyboard and mouse state, as port::KeyIsDown and port::CursorInFocusWindow report it ----
void SetKeyDown(int virtualKey, bool down);
// The mouse position in the focus window's client coordinates; a null focus window makes
// CursorInFocusWindow report false.
void SetCursor(int x, int y);
void SetFocusWindow(void* window);
bool MouseCaptured();

// ---- Resources ----
struct EmbeddedResource {
    const char* type;
    const char* name;
    const uint8_t* bytes;
    std::size_t size;
};
// The program's own resources, generated from resources/resources.list at build time.
extern const EmbeddedResource kProgramResources[];
extern const std::size_t kProgramResourcesCount;
// Replaces the table that FindResourceData searches (null restores the program's own).
// Call while no other thread looks resources up.
void SetResourceTable(const EmbeddedResource* table, std::size_t count);

// ---- Surfaces: bitmap limit and the image sink (user-interface thread) ----
// Bitmaps larger than this many bytes are refused, as a machine without the memory would.
constexpr std::size_t kMaxBitmapBytes = std::size_t(512) << 20;

// A picture of 5-5-5 pixel words, top-down, width * height of them.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint16_t> pixels;
};
// The frame last presented on a window (PresentSurface); false when none was.
bool LastPresented(void* window, Image* out);
// Forgets every presented frame.
void ForgetPresented();
// Writes the image as 24-bit PNG (path ending in ".png") or BMP (any other path); false on a
// write error. ReadImage reads what WriteImage wrote (uncompressed PNG or 24-bit BMP) back.
bool WriteImage(const Image& image, const std::string& path);
bool ReadImage(const std::string& path, Image* out);

// ---- Input for modal message loops (UI thread) ----
// Queues a window message for the calling thread, as the window system would deliver it to
// window; it comes out of port::PeekOwnMessage and port::NextMessage in order with thread
// messages.
void PostInput(port::WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// A mouse message at the client point (x, y) of window (lParam: x low, y high word).
void PostMouse(port::WindowHandle window, uint32_t message, int x, int y);
// Called by port::NextMessage each time the calling thread's queue is empty, before it gives up
// and reports the quit message: the place for a test to look at the screen while a modal loop
// waits, and to queue the next input. An empty hook removes it.
void SetIdleHook(std::function<void()> hook);
// The messages handed to port::DispatchToWindow since the last call, oldest first.
std::vector<port::Message> TakeDispatched();

} // namespace headless
