// Controls of the headless port, for tests and tonalyx-cli: the virtual clock, the record of
// message boxes, the resource table and the image sink of presented frames. Any thread unless
// noted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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

} // namespace headless
