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
bool FindResourceData(const char* type, const char* name, ResourceData* out);

} // namespace port
