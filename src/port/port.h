// The platform boundary: every service the portable core asks of the operating system, and the
// face of the window controls that the command handler talks to. Exactly one port is linked into
// a program: src/port/win32 (the Windows program) or src/port/headless (tests and tonalyx-cli).
// The core includes no OS header; it reaches the platform only through this file.
//
// Threading contract
// ------------------
// * The user-interface thread (UI) is the thread that runs the main loop. Every function here is
//   UI-only unless its section says otherwise. The analyzer state, the analysis arrays, the
//   drawing surface and all window controls belong to the UI thread and are never locked.
// * Clock (TickCount, SleepMs): any thread.
// * Message boxes: UI thread only; they block the UI thread until answered. The capture worker
//   and the sound-engine thread never show one.
// * Resources: any thread; the bytes returned are read-only and live as long as the program.
// * Worker threads and thread messages: created from the UI thread. A thread's queue is read
//   only by that thread (PeekThreadMessage); any thread may post to it. Wave devices post their
//   buffer-done messages (MM_WIM_DATA, MM_WOM_DONE) to the worker named when they were opened,
//   never calling back into other threads.
// * Wave-in and wave-out devices: opened and closed by the thread that owns the engine object
//   (the UI thread); buffers are prepared, queued and unprepared, and recording is started and
//   stopped, by the owner and by its worker under the owner's own lock, never concurrently.
// * Presentation, input state, controls, dialogs, mixer and help: UI thread only.
// * Modal message loops: UI thread only; they read the same queue as PeekOwnMessage.
#pragma once

#include <cstddef>
#include <cstdint>

namespace port {

// Opaque platform window (an HWND in the Windows program); null means none.
using WindowHandle = void*;

// A window message in the platform's numbering (src/port/messages.h).
struct Message {
    WindowHandle window;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

// ---- Clock
// ---------------------------------------------------------------------------------------

// Milliseconds since an arbitrary start; wraps at 2^32 and is compared as unsigned differences.
// The Windows program reads the multimedia timer (the same clock as GetTickCount at 1 ms
// resolution); the headless port reads a virtual clock unless told to use the real one.
uint32_t TickCount();

// Sleeps the calling thread; on the headless virtual clock it advances the clock instead.
void SleepMs(uint32_t ms);

// ---- Message boxes
// ---------------------------------------------------------------------------------

// Shows a modal message box owned by the window that has the keyboard focus. flags and the result
// use the platform's numbering (MB_OK, MB_ICONEXCLAMATION, IDOK in src/port/messages.h).
int ShowMessage(const char* text, const char* caption, unsigned flags);

// ---- Resources
// -------------------------------------------------------------------------------------

// A resource's bytes as the Windows resource loader returns them: a "BITMAP" starts with its
// 40-byte header (the file header of the .bmp is not part of it).
struct ResourceData {
    const uint8_t* bytes;
    std::size_t size;
};

// Looks a resource up by type ("BITMAP", "TEXT", ...) and name, both without regard to case.
// A name made only of digits ("14") names a numbered resource.
bool FindResourceData(const char* type, const char* name, ResourceData* out);

// ---- Keyboard and mouse state (UI thread)
// ------------------------------------------------------------

// True while the key or mouse button with this virtual-key code (VK_LBUTTON, VK_SHIFT, ...) is
// down at this moment, whatever the message queue holds.
bool KeyIsDown(int virtualKey);
// The mouse position in client coordinates of the window that has the keyboard focus; false
// when no window of the program has the focus.
bool CursorInFocusWindow(int* x, int* y);
// Sends all mouse input to the window that has the focus until ReleaseMouse.
void CaptureMouse();
void ReleaseMouse();

// ---- Worker threads, thread messages and events (any thread)
// ----------------------------------------

using ThreadHandle = void*;
using EventHandle = void*;
using ThreadProc = uint32_t (*)(void* arg);

// Thread priorities in the platform's numbering.
constexpr int kPriorityNormal = 0;
constexpr int kPriorityHighest = 2;
constexpr int kPriorityTimeCritical = 15;

// Starts proc(arg) on a new thread at once. Its message queue exists before this returns, so
// messages posted to *threadId right away are kept. Null when the thread cannot be created.
ThreadHandle CreateWorkerThread(ThreadProc proc, void* arg, uint32_t* threadId);
bool SetWorkerPriority(ThreadHandle thread, int priority);
// True when the thread has ended within timeoutMs.
bool WaitWorker(ThreadHandle thread, uint32_t timeoutMs);
// Last resort for a thread that does not end: the Windows program kills it; the headless port
// has no threads that hang and waits for it instead.
void TerminateWorker(ThreadHandle thread);
// Releases the handle (the thread itself may go on). Allowed from the thread itself.
void CloseWorker(ThreadHandle thread);
// Id of the calling thread, the one messages are posted to.
uint32_t CurrentThreadId();

// Takes the oldest message from the calling thread's queue; false when it is empty.
bool PeekOwnMessage(Message* out);
// Appends a message (window null) to the queue of the thread with that id.
bool PostToThread(uint32_t threadId, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Auto-reset events, initially not signalled. Null when one cannot be created.
EventHandle CreateAutoEvent();
void SignalEvent(EventHandle event);
// True when the event was signalled within timeoutMs (and resets it).
bool WaitForEvent(EventHandle event, uint32_t timeoutMs);
void CloseEvent(EventHandle event);

// ---- Wave devices: what wave-in and wave-out share (any thread, per the contract above)
// -------------

using WaveDevice = void*;

// PCM format as the platform describes it (tag 1 is PCM).
struct WaveFormat {
    uint16_t formatTag;
    uint16_t channels;
    uint32_t samplesPerSec;
    uint32_t avgBytesPerSec;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
    uint16_t extraSize;
};

// One device buffer. The owner sets data, bufferLength and user; the device reports
// bytesRecorded. The platform keeps its own description of the buffer in platform[], so nothing
// is allocated when a buffer is prepared and queued again.
struct WaveHeader {
    uint8_t* data;
    uint32_t bufferLength;
    uint32_t bytesRecorded;
    uintptr_t user;
    uint32_t flags;
    alignas(8) unsigned char platform[64];
};

// The header that a buffer-done message (MM_WIM_DATA, MM_WOM_DONE) hands back, with its
// bytesRecorded brought up to date; null for any other message.
WaveHeader* WaveHeaderOfMessage(const Message& message);

// ---- Drawing surface: platform bitmaps, presentation and the platform font (UI thread)
// ---------

// Description of a 16-bit top-down bitmap in the platform's layout: the 40-byte bitmap info
// header (height negative for top-down) followed by one colour slot that stays 0.
struct SurfaceInfo {
    uint32_t size;
    int32_t width;
    int32_t height;
    uint16_t planes;
    uint16_t bitCount;
    uint32_t compression;
    uint32_t sizeImage;
    int32_t xPelsPerMeter;
    int32_t yPelsPerMeter;
    uint32_t clrUsed;
    uint32_t clrImportant;
    uint32_t colorSlot;
};
static_assert(sizeof(SurfaceInfo) == 44, "the platform reads 44 bytes");

// The program's module, whose resources FindResourceData reads (the HINSTANCE of the executable
// in the Windows program); never null.
using ModuleHandle = void*;
ModuleHandle ProgramModule();

// A platform bitmap that owns the pixel memory of one surface (an HBITMAP of a DIB section in the
// Windows program); null means none.
using BitmapHandle = void*;

// Allocates the bitmap that info describes and stores the address of its first (top) row in
// *bits. Null (and *bits null) when the platform cannot make it. The pixels start at 0.
BitmapHandle CreateSurfaceBitmap(const SurfaceInfo& info, uint16_t** bits);
// Releases the bitmap and its pixel memory; null is ignored.
void DeleteSurfaceBitmap(BitmapHandle bitmap);

// Copies a whole surface to the top-left corner of a window's client area in one call. The
// headless port keeps the last frame presented on each window instead (src/port/headless).
void PresentSurface(WindowHandle window, const SurfaceInfo& info, const uint16_t* bits);

// Draws text with the platform's default font onto the bitmap at (x, y), transparent behind the
// glyphs, in colorRef (0x00BBGGRR); x = -1 centres the text on the bitmap's width. Returns false
// when the platform has no font of its own (the headless port), so the caller draws the text
// with a built-in font instead; true otherwise, also when nothing could be drawn.
bool DrawSystemText(BitmapHandle bitmap, const SurfaceInfo& info, int x, int y, uint32_t colorRef,
                    const char* text);

// ---- Modal message loops (UI thread)
// ---------------------------------------------------------------------------------------------
// An in-view menu waits for the user in a message loop of its own while the main loop is stalled
// under it.

// Waits for the next message of the calling thread (window and thread messages alike). False
// when it is the quit message (WM_QUIT, with the exit code in wParam), which *out then holds.
// The headless port does not wait: when its queue and its idle hook have nothing more to give,
// it reports the quit message, so a loop over scripted input always ends.
bool NextMessage(Message* out);

// Translates a key message into character messages and hands the message to the procedure of
// its window.
void DispatchToWindow(const Message& message);

// Posts the quit message with exitCode to the calling thread, ending its message loops.
void PostQuit(int exitCode);

} // namespace port
