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

// ---- Mixer: the wave-in devices and the input selector of each one's mixer (UI thread) ----
struct MixerDevice {
    std::string name;                // the wave-in device's product name
    bool hasSelector = true;         // false: the wave-in destination has no input selector
    std::vector<std::string> inputs; // the selector's items
    int selected = -1;               // the item whose value is 1; -1: every value 0
};
// Replaces the devices (an empty list: no mixer at all) and chooses device 0; an open
// notification handle stays open on its device. Until set there is one device,
// "Headless Audio", with the inputs "Microphone" and "Line In" and the microphone selected.
void SetMixerDevices(const std::vector<MixerDevice>& devices);
// The device as it stands now, with the selection the program or others made.
MixerDevice MixerDeviceState(int device);
// The device index that later mixer operations use (SelectMixerDevice changes it).
int MixerDeviceIndex();
// A change made elsewhere, for example in the system's mixer panel: selects the input (-1 clears
// the selection) and, when the notification handle is open on that device, posts
// MM_MIXM_CONTROL_CHANGE to its window, as every control change does.
void ChangeMixerInputElsewhere(int device, int input);
// The notifications posted since the last call, oldest first; forgets them.
std::vector<port::Message> TakeMixerNotifications();
// How the next "Select Mixer Device" dialogs end: the index of the device chosen with OK, or -1
// (also an index the dialog does not list) for Cancel. Cancel until set.
void SetMixerDeviceAnswer(int device);

// ---- Save dialog (UI thread) ----
// The path that every later save dialog confirms, or null for Cancel (the default).
void SetSaveAnswer(const char* path);
struct SaveRequest {
    void* owner;
    std::string title;
    std::string proposed; // the path the dialog was opened with
};
// The save dialogs shown since the last call; forgets them.
std::vector<SaveRequest> TakeSaveRequests();

// ---- Splash, about dialog and help (UI thread): recorded, nothing is shown ----
enum class WindowRequest { Splash, About, Help };
struct ShownWindow {
    WindowRequest what;
    void* owner;      // the owner, or for help the window it was opened for
    std::string file; // the help file; empty for the others
};
// The requests made since the last call, oldest first; forgets them.
std::vector<ShownWindow> TakeShownWindows();

} // namespace headless
