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
// * Resources and files: any thread; resource bytes are read-only and live as long as the program.
// * Worker threads and thread messages: created from the UI thread. A thread's queue is read
//   only by that thread (PeekThreadMessage); any thread may post to it. Wave devices post their
//   buffer-done messages (MM_WIM_DATA, MM_WOM_DONE) to the worker named when they were opened,
//   never calling back into other threads.
// * Wave-in and wave-out devices: opened and closed by the thread that owns the engine object
//   (the UI thread); buffers are prepared, queued and unprepared, and recording is started and
//   stopped, by the owner and by its worker under the owner's own lock, never concurrently.
// * Presentation, input state, controls, dialogs, splash, mixer and help: UI thread only.
// * Modal message loops: UI thread only; they read the same queue as PeekOwnMessage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace port {

using StringList = std::vector<std::string>;

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
// The same without an owner, for what is said before the program has a window of its own: a box
// owned by the start-up splash would close unanswered with it.
int ShowMessageWithoutOwner(const char* text, const char* caption, unsigned flags);

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

// ---- Files
// ---------------------------------------------------------------------------------------
// Paths are narrow strings in the platform's own encoding, as the save dialog gives them and the
// standard library's file streams take them.

// The full path that name (relative to the current directory, or already full) stands for now;
// empty when it cannot be made.
std::string FullPath(const char* name);
// Replaces the file `to` with the file `from` in one step, the new contents on the disk before it
// returns: at no moment is there no file `to`. False on failure, with both files as they were.
bool MoveFileReplacing(const char* from, const char* to);

// ---- The program's windows and controls (UI thread)
// ------------------------------------------------ The Windows program has one frame window with
// the analyzer view, a status bar and the tool bars; the headless port keeps the same state for
// tests and scripts to read and set.

// Size of a window's client area; false (and 0 x 0) for a window that does not exist.
bool ClientSize(WindowHandle window, int* width, int* height);
// Text of one part (0, 1 or 2) of the frame's status bar.
void SetStatusText(int part, const char* text);
// The analyzer view's horizontal scroll bar: range 0..maximum, a page of page, at position.
void SetViewScrollBar(int maximum, int page, int position);

// ---- The control panel (UI thread)
// -----------------------------------------------------------------------------
// The tool bars, combo boxes and trackbars of the two rebars, named by their control or command
// ids (src/ui/control_ids.h); the bands of the rebars by their band ids, which are unique over
// both rebars. The Windows program talks to its real controls; the headless port keeps a model of
// them that tests and scripts read and change. The command handler owns every value: the port
// only builds the controls and reports or sets their state. A control that does not exist reads
// as empty (-1, 0, "" or false) and ignores changes.

// Builds every band, tool bar, combo box (with the items of src/ui/control_ids.h) and trackbar
// of both rebars in their order, every check button up, no combo selection, the trackbars at 0,
// bands 12, 13, 14 and 8 hidden. The Input band (combo 1000, band 11) is built with inputNames
// as its items, and left out when inputNames is empty.
void CreateControlPanel(WindowHandle topRebar, const StringList& inputNames);

bool ControlExists(int id);
// Selected item of a combo box, -1 when none.
int ComboSelection(int id);
// Selects an item; -1 clears the selection.
void SetComboSelection(int id, int item);
int ComboItemCount(int id);
std::string ComboItemText(int id, int item);
// Empties a combo box and fills it with items in order (no selection).
void SetComboItems(int id, const StringList& items);
// The edit field of a drop-down combo with one (Delay 1044, Frequency 1012).
std::string ComboEditText(int id);
void SetComboEditText(int id, const char* text);

// Check buttons of the tool bars, by command id.
bool ButtonChecked(int commandId);
void CheckButton(int commandId, bool down);

int TrackbarPosition(int id);
void SetTrackbar(int id, int minimum, int maximum, int position);

// Shows or hides a rebar band by its band id.
void ShowBand(int bandId, bool show);
bool BandShown(int bandId);

// Check mark of an item of the frame's menu, by command id.
void CheckMenuItem(int commandId, bool checked);
bool MenuItemChecked(int commandId);

// Control id of a control's window, as a WM_COMMAND or a trackbar's WM_HSCROLL carries it in
// lParam; 0 for null or a window that is not one of the panel's controls.
int ControlIdOf(WindowHandle control);

// Asks the frame window to close, as its system menu's Close does (a posted WM_CLOSE).
void CloseFrameWindow();

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

// The header that a buffer-done message (MM_WIM_DATA, MM_WOM_DONE) hands back; null for any
// other message. Nothing is read or written through it: a message left over from an earlier run
// may name a header that is gone, so its owner checks it is one of its own before touching it.
WaveHeader* WaveHeaderOfMessage(const Message& message);

// ---- Wave-out (opened and closed by the owner's thread; buffers per the contract above)
// -------------

// Number of wave-out devices; they are numbered 0 .. count - 1.
uint32_t WaveOutDeviceCount();

// Opens device `index` for the format. Every buffer the device has finished with (played or
// returned by ResetWaveOut) comes back as MM_WOM_DONE posted to the thread threadId, with the
// header in reach of WaveHeaderOfMessage. Null when the device is missing or refuses the format.
WaveDevice OpenWaveOut(uint32_t index, const WaveFormat& format, uint32_t threadId);

// A buffer is prepared once before it is written and unprepared once the device has returned it;
// a header must be unprepared before its data, length or user value change. Unpreparing a header
// that is not prepared does nothing and succeeds; one still queued fails.
bool PrepareWaveOut(WaveDevice device, WaveHeader* header);
bool UnprepareWaveOut(WaveDevice device, WaveHeader* header);
// Queues a prepared buffer behind the ones already queued.
bool WriteWaveOut(WaveDevice device, WaveHeader* header);

// Pausing keeps the queued buffers; restarting plays on from where it stopped.
bool PauseWaveOut(WaveDevice device);
bool RestartWaveOut(WaveDevice device);
// Stops playing and returns every queued buffer at once (each one posts its MM_WOM_DONE).
bool ResetWaveOut(WaveDevice device);
// Fails while buffers are still queued.
bool CloseWaveOut(WaveDevice device);

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
// ---- Wave-in: capture devices (per the contract above)
// ---------------------------------------------------------

// Number of capture devices; their ids are 0 .. count - 1.
uint32_t WaveInDeviceCount();
// Opens capture device deviceId for format. The device posts MM_WIM_DATA to the thread threadId
// for every buffer it has finished with (WaveHeaderOfMessage finds the header), as a
// thread-callback device does. False when there is no such device or it refuses the format.
bool OpenWaveIn(uint32_t deviceId, const WaveFormat& format, uint32_t threadId, WaveDevice* out);
// Prepares a header from its data, bufferLength, user and flags (0 for a capture buffer).
bool PrepareWaveIn(WaveDevice device, WaveHeader* header);
// Fails while the buffer is still queued; brings the header's bytesRecorded up to date.
bool UnprepareWaveIn(WaveDevice device, WaveHeader* header);
// Queues a prepared buffer for recording.
bool AddWaveInBuffer(WaveDevice device, WaveHeader* header);
// True once the device has finished with the buffer, until it is queued again: its buffer-done
// message may not have been handled yet.
bool WaveInBufferDone(WaveDevice device, const WaveHeader* header);
bool StartWaveIn(WaveDevice device);
// Stops recording; a partly filled buffer comes back with what it holds, the empty ones stay
// queued for the next start.
bool StopWaveIn(WaveDevice device);
// Stops recording and gives every queued buffer back.
bool ResetWaveIn(WaveDevice device);
// Fails while buffers are queued.
bool CloseWaveIn(WaveDevice device);

// ---- Mixer inputs (UI thread)
// -----------------------------------------------------------------------
// The capture input is chosen through the input selector of the wave-in destination on the
// mixer of the chosen wave-in device. Every failure is reported to the user by message box
// (caption "CMixerBase::Init" or "CMixerBase::InitMXDetails") and comes back as the failure
// result below; a wave-in destination without an input selector is such a failure.

// Replaces *names with the selector's input names in item order and returns their count; on
// failure returns 0 and leaves *names as it was.
int GetInputLineNames(StringList* names);
// Index of the selected input, or -1 when none is selected or the selector cannot be read.
int GetSelectedInputLine();
// Makes input index the only selected one. 1 when the selector was found and index is one of its
// inputs (whether or not the driver took the change), else 0.
int SelectInputLine(int index);

// Opens the long-lived notification handle: from now on every control change of that mixer,
// made by this program or elsewhere, posts MM_MIXM_CONTROL_CHANGE to window. False (and
// reported) when the mixer cannot be opened; false without a report when it is already open.
bool OpenMixerNotifications(WindowHandle window);
// Closes it; may be repeated.
void CloseMixerNotifications();

// The modal "Select Mixer Device" dialog listing the wave-in devices. IDOK when the user chose a
// device (later operations use it; the notification handle keeps its device), IDCANCEL otherwise.
int SelectMixerDevice(WindowHandle owner);

// ---- Splash, about dialog and help (UI thread)
// ----------------------------------------------------------

// Shows the start-up splash picture for five seconds in a window shaped like it, without owner;
// returns at once (the main loop delivers its messages). Without the picture nothing is shown.
void ShowSplashWindow();
// Runs the modal about dialog owned by owner.
void ShowAboutDialog(WindowHandle owner);

constexpr char kHelpFile[] = "TONALYX.HLP";
// Opens kHelpFile at its contents in the platform's help viewer, for window.
void OpenHelpContents(WindowHandle window);

// ---- Save dialog (UI thread)
// -------------------------------------------------------------------------

constexpr std::size_t kPathChars = 260; // size of a path buffer, terminating zero included

// The modal save-file dialog owned by owner, with title, proposing the file name in path (a
// buffer of kPathChars characters), all files listed, asking before it overwrites a file and
// requiring an existing folder. Returns 0 with the chosen full path in path when the user
// confirmed a name; 1 on cancel or error, with path as it was. The Windows dialog leaves the
// current directory alone; the headless one moves it to the chosen file's folder, as a platform
// dialog does in which the user went to another folder, so that nothing may rely on it.
int AskSaveFileName(WindowHandle owner, const char* title, char* path);

} // namespace port
