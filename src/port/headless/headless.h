// Controls of the headless port, for tests and tonalyx-cli: the virtual clock, the record of
// message boxes, the control panel model, the resource table, the image sink of presented frames,
// WAV files, the simulated capture devices and mixer. Any thread unless noted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "port/port.h"

namespace headless {

// ---- Start of a run (UI thread, with no device open) ----
// Every control and record below back to its state at program start: the virtual clock at 0, no
// message recorded and IDOK answers, no key down, no controls, windows or presented frames, the
// default capture and output devices and mixer, Cancel in the dialogs, no idle hook, the
// program's own resources.
void ResetPort();

// ---- Clock: virtual by default (starts at 0; SleepMs advances it) ----
// On the virtual clock no wait of the port takes real time for what has happened: a thread
// waiting for an event, a message or the clock goes on as soon as it has (port::WaitForEvent
// also ends, unsignalled, when a message reaches the waiting thread).
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

// ---- The program's windows and controls, as the port functions report and keep them ----
void SetClientSize(void* window, int width, int height);
std::string StatusText(int part);
struct ScrollBarState {
    int maximum;
    int page;
    int position;
};
ScrollBarState ViewScrollBar();

// ---- The control panel (UI thread) ----
// The model behind port::CreateControlPanel and the control functions of port.h, which read and
// change it as the user would see it: to act as the user, change a control through them (select
// a combo item, check a button, move a trackbar) and then hand the notification the platform
// sends for it to the application's OnMessage, e.g. WM_COMMAND with wParam = id | CBN_SELCHANGE
// << 16 and lParam = ControlHandle(id), or WM_HSCROLL with lParam = ControlHandle(trackbar).
enum class ControlKind { None, ListCombo, EditCombo, CheckButton, PushButton, Trackbar };
ControlKind KindOfControl(int id);
struct TrackbarRange {
    int minimum;
    int maximum;
};
// A trackbar's range; {0, 0} for anything else. A new trackbar has the range 0..100.
TrackbarRange TrackbarRangeOf(int id);
// The window of a control, as a notification carries it (port::ControlIdOf gives the id back);
// null for a control that does not exist.
port::WindowHandle ControlHandle(int id);
// Band ids in the order they were inserted: the top rebar's, then the bottom rebar's.
std::vector<int> BandOrder();
// Forgets every control and band and clears the menu's check marks, as before the panel was built.
void DestroyControlPanel();
// Whether port::CloseFrameWindow was called since the last call; forgets it.
bool TakeFrameCloseRequest();

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

// ---- Files ----
// Reads the rest of an open stream into *out; false when reading fails, as it does for a folder,
// which opens like a file.
bool ReadAll(std::istream& in, std::string* out);

// ---- WAV files: PCM of 16, 24 or 32 bits or 32-bit float, plain or extensible; mono or stereo
// ----
class WavBytes;
// The audio of a WAV file, read a stretch at a time as the capture asks for it, as 16-bit
// samples: a 16-bit capture of the same signal, rounded to the nearest step and clipped at full
// scale. Only the header is checked and kept when it opens; the file stays open meanwhile. Safe
// to read from several threads.
class WavReader {
public:
    WavReader();
    ~WavReader();
    WavReader(const WavReader&) = delete;
    WavReader& operator=(const WavReader&) = delete;

    // Reads the header of the file at path, or of the size bytes at bytes (which must outlive the
    // reader). Anything but such a RIFF/WAVE image, or one whose chunks do not fit inside it, is
    // refused with a reason in *error.
    bool Open(const std::string& path, std::string* error);
    bool Open(const uint8_t* bytes, std::size_t size, std::string* error);

    uint16_t Channels() const { return channels_; }
    uint32_t Rate() const { return rate_; }
    uint64_t Frames() const { return frames_; }
    // Frames first .. first + count - 1 into to, channels samples each, interleaved; false when
    // they lie past the end or cannot be read (to is then silent).
    bool ReadFrames(uint64_t first, std::size_t count, int16_t* to);

private:
    bool ReadHeader(std::string* error);

    std::unique_ptr<WavBytes> bytes_;
    std::mutex lock_; // the byte source and the buffer below
    std::vector<uint8_t> raw_;
    uint16_t channels_ = 0;
    uint32_t rate_ = 0;
    uint64_t frames_ = 0;
    uint64_t dataAt_ = 0;
    uint16_t blockAlign_ = 0;
    uint16_t bits_ = 0;
    bool float_ = false;
};

// ---- Wave-in: simulated capture devices ----
// Every device records the same source. A recording device captures the frames of the time that
// passes on the port's clock (TickCount): a buffer is done once the clock has passed its last
// frame. On the virtual clock a test advances time (AdvanceTime, SetTime), which captures the
// frames due at once on its own thread, and then calls WaitCaptureIdle; time that the program's
// own SleepMs passes is captured at the next of these. On the real clock the frames come in real
// time. Frames due while no buffer is queued are lost, as on a sound card. Set the source and
// devices before a device is opened.
struct CaptureSource {
    enum class Kind {
        Silence,
        Sine,
        Noise,       // uniform white noise
        DelayedPair, // noise on the left, the same noise delayFrames later on the right
        Sequence,    // frame n: left = n & 0xffff, right = n >> 16 (mono: n & 0xffff)
        Wav, // a WAV file at its own rate (a device refuses any other), silent after the end
    };
    Kind kind = Kind::Silence;
    double frequencyHz = 1000.0;    // Sine
    double level = 0.5;             // peak of Sine, Noise and DelayedPair, a fraction of full scale
    uint32_t delayFrames = 0;       // DelayedPair
    uint32_t seed = 1;              // Noise and DelayedPair
    std::shared_ptr<WavReader> wav; // Wav
    bool loop = false;              // Wav: start again after the end
};
void SetCaptureSource(const CaptureSource& source);
// count devices (0: a machine without capture devices); device i refuses every format when bit i
// of refusingMask is set.
void SetCaptureDevices(uint32_t count, uint32_t refusingMask = 0);
// Every n-th buffer a device finishes comes back after only `bytes` bytes (a short buffer); the
// next one goes on from there. n = 0 switches this off.
void SetCaptureShortBuffers(uint32_t n, uint32_t bytes);
// Back to one device that accepts every format, silence, no short buffers.
void ResetCapture();
// Lets every open device capture up to the clock's present time, then waits until the owner has
// queued every buffer the devices finished again (its callback may still be running). False
// after timeoutMs of real time. Devices cannot close meanwhile.
bool WaitCaptureIdle(uint32_t timeoutMs = 5000);
struct CaptureStats {
    uint32_t openDevices;     // devices open now
    uint32_t lastDeviceId;    // id of the device opened last
    bool recording;           // some open device records
    uint32_t queuedBuffers;   // buffers queued in the open devices
    uint64_t framesCaptured;  // frames put into buffers since the device opened last
    uint64_t framesLost;      // frames due while no buffer was queued, likewise
    uint32_t buffersFinished; // buffers given back, likewise
};
CaptureStats GetCaptureStats();

// ---- Threads ----
// The priority last given to the worker thread with that id (port::CurrentThreadId on it); 0
// (normal) for one that never had one set or has ended.
int WorkerPriority(uint32_t threadId);
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
// The path that every later save dialog confirms, or null for Cancel (the default). Confirming
// makes the path's folder, when it exists, the current directory (see port::AskSaveFileName).
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
