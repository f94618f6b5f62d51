// The headless wave-out device: keeps the buffers written to it in a queue, plays them into a
// record (by hand or paced by the clock, see headless_wave_out.h) and posts MM_WOM_DONE for each
// to the thread named at open. Any thread; the pacing thread is the device's own.
#include "port/headless/headless_wave_out.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "port/headless/headless_clock.h"
#include "port/messages.h"
#include "port/port.h"

namespace {

// What the device keeps inside a header's platform[] storage.
struct HeaderState {
    bool prepared;
    bool queued;
};
static_assert(sizeof(HeaderState) <= sizeof(port::WaveHeader::platform),
              "the device's buffer state must fit inside the port's header");

HeaderState& StateOf(port::WaveHeader* header) {
    return *reinterpret_cast<HeaderState*>(header->platform);
}

struct Device {
    std::mutex lock;
    std::condition_variable changed;

    uint32_t count = 1;
    uint32_t refusedMask = 0;
    headless::WaveOutPacing pacing = headless::WaveOutPacing::Clock;

    // The open device. Handles carry the number of the open that made them, so that a handle
    // from an earlier open is refused.
    bool open = false;
    uintptr_t generation = 0;
    uint32_t index = 0;
    port::WaveFormat format{};
    uint32_t threadId = 0;
    bool paused = false;
    std::deque<port::WaveHeader*> queue;

    // Clock pacing: the front buffer began at startTick + consumedMs; a pause keeps how far into
    // it playback had come.
    std::thread pacer;
    bool stopPacer = false;
    bool clockRunning = false;
    uint32_t startTick = 0;
    double consumedMs = 0.0;
    double partialMs = 0.0;

    uint32_t opens = 0;
    std::vector<uint8_t> bytes;
    uint32_t buffersPlayed = 0;
};

// Never destroyed: the engine's static object may close its device after this file's statics
// would otherwise be gone. Its pacer follows the clock.
Device& TheDevice() {
    static Device* device = [] {
        Device* d = new Device;
        headless::WatchClock(d, [d] {
            std::lock_guard<std::mutex> guard(d->lock);
            if (d->clockRunning || headless::RealClockInUse())
                d->changed.notify_all();
        });
        return d;
    }();
    return *device;
}

bool Accepts(const port::WaveFormat& f) {
    const bool pcm = f.formatTag == 1 && (f.channels == 1 || f.channels == 2) &&
                     (f.bitsPerSample == 8 || f.bitsPerSample == 16);
    return pcm && f.samplesPerSec >= 1000 && f.samplesPerSec <= 192000 &&
           f.blockAlign == f.channels * f.bitsPerSample / 8 &&
           f.avgBytesPerSec == f.samplesPerSec * f.blockAlign;
}

// With the device locked: true when handle names the open device.
bool IsOpenHandle(const Device& d, port::WaveDevice handle) {
    return d.open && reinterpret_cast<uintptr_t>(handle) == d.generation;
}

// With the device locked: hands the oldest queued buffer back, into the record when played.
void FinishFront(Device& d, bool played) {
    port::WaveHeader* header = d.queue.front();
    d.queue.pop_front();
    StateOf(header).queued = false;
    if (played) {
        d.bytes.insert(d.bytes.end(), header->data, header->data + header->bufferLength);
        ++d.buffersPlayed;
    }
    port::PostToThread(d.threadId, MM_WOM_DONE, d.generation, reinterpret_cast<intptr_t>(header));
    d.changed.notify_all();
}

double BufferMs(const Device& d, const port::WaveHeader* header) {
    const double frames = static_cast<double>(header->bufferLength / d.format.blockAlign);
    return frames * 1000.0 / d.format.samplesPerSec;
}

// With the device locked: playback time starts to run when there is something to play.
void StartClock(Device& d) {
    if (d.clockRunning || d.paused || d.queue.empty())
        return;
    d.clockRunning = true;
    d.startTick = port::TickCount();
    d.consumedMs = -d.partialMs;
    d.partialMs = 0.0;
}

// On the real clock the pacer looks every millisecond, on the virtual one whenever the clock
// moves while a buffer plays, or a buffer comes or goes.
void Pace(Device& d) {
    std::unique_lock<std::mutex> guard(d.lock);
    while (!d.stopPacer) {
        if (headless::RealClockInUse())
            d.changed.wait_for(guard, std::chrono::milliseconds(1));
        else
            d.changed.wait(guard);
        if (!d.clockRunning)
            continue;
        const double elapsed = static_cast<double>(port::TickCount() - d.startTick);
        while (!d.queue.empty() && elapsed >= d.consumedMs + BufferMs(d, d.queue.front())) {
            d.consumedMs += BufferMs(d, d.queue.front());
            FinishFront(d, true);
        }
        if (d.queue.empty())
            d.clockRunning = false; // ran dry: the next buffer starts when it arrives
    }
}

} // namespace

namespace headless {

void SetWaveOutDevices(uint32_t count, uint32_t refusedMask) {
    Device& d = TheDevice();
    std::lock_guard<std::mutex> guard(d.lock);
    d.count = count;
    d.refusedMask = refusedMask;
}

void SetWaveOutPacing(WaveOutPacing pacing) {
    Device& d = TheDevice();
    std::lock_guard<std::mutex> guard(d.lock);
    d.pacing = pacing;
}

void RestoreWaveOutDefaults() {
    Device& d = TheDevice();
    std::lock_guard<std::mutex> guard(d.lock);
    d.count = 1;
    d.refusedMask = 0;
    d.pacing = WaveOutPacing::Clock;
    d.opens = 0;
    d.bytes.clear();
    d.buffersPlayed = 0;
}

WaveOutRecord TakeWaveOutRecord() {
    Device& d = TheDevice();
    std::lock_guard<std::mutex> guard(d.lock);
    WaveOutRecord r{d.open,
                    d.opens,
                    d.index,
                    d.format,
                    {},
                    d.buffersPlayed,
                    static_cast<uint32_t>(d.queue.size())};
    r.bytes.swap(d.bytes);
    d.buffersPlayed = 0;
    return r;
}

std::size_t PlayWaveOutBuffers(std::size_t n) {
    Device& d = TheDevice();
    std::lock_guard<std::mutex> guard(d.lock);
    std::size_t played = 0;
    while (d.open && !d.paused && played < n && !d.queue.empty()) {
        FinishFront(d, true);
        ++played;
    }
    return played;
}

bool WaitWaveOutQueued(std::size_t n, uint32_t timeoutMs) {
    Device& d = TheDevice();
    std::unique_lock<std::mutex> guard(d.lock);
    return d.changed.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                              [&] { return d.open && d.queue.size() >= n; });
}

} // namespace headless

namespace port {

uint32_t WaveOutDeviceCount() {
    Device& d = TheDevice();
    std::lock_guard<std::mutex> guard(d.lock);
    return d.count;
}

WaveDevice OpenWaveOut(uint32_t index, const WaveFormat& format, uint32_t threadId) {
    Device& d = TheDevice();
    std::lock_guard<std::mutex> guard(d.lock);
    const bool refused = index < 32 && (d.refusedMask >> index & 1u) != 0;
    if (index >= d.count || refused || d.open || !Accepts(format))
        return nullptr;
    d.open = true;
    ++d.generation;
    d.index = index;
    d.format = format;
    d.threadId = threadId;
    d.paused = false;
    d.clockRunning = false;
    d.partialMs = 0.0;
    ++d.opens;
    d.bytes.clear();
    d.buffersPlayed = 0;
    if (d.pacing == headless::WaveOutPacing::Clock) {
        d.stopPacer = false;
        d.pacer = std::thread(Pace, std::ref(d));
    }
    return reinterpret_cast<WaveDevice>(d.generation);
}

bool PrepareWaveOut(WaveDevice device, WaveHeader* header) {
    Device& d = TheDevice();
    std::lock_guard<std::mutex> guard(d.lock);
    HeaderState& s = StateOf(header);
    if (!IsOpenHandle(d, device) || s.prepared || header->data == nullptr)
        return false;
    s = HeaderState{true, false};
    return true;
}

bool UnprepareWaveOut(WaveDevice device, WaveHeader* header) {
    Device& d = TheDevice();
    std::lock_guard<std::mutex> guard(d.lock);
    HeaderState& s = StateOf(header);
    if (!IsOpenHandle(d, device) || s.queued)
        return false;
    s.prepared = false;
    return true;
}

bool WriteWaveOut(WaveDevice device, WaveHeader* header) {
    Device& d = TheDevice();
    std::lock_guard<std::mutex> guard(d.lock);
    HeaderState& s = StateOf(header);
    if (!IsOpenHandle(d, device) || !s.prepared || s.queued)
        return false;
    s.queued = true;
    d.queue.push_back(header);
    StartClock(d);
    d.changed.notify_all();
    return true;
}

bool PauseWaveOut(WaveDevice device) {
    Device& d = TheDevice();
    std::lock_guard<std::mutex> guard(d.lock);
    if (!IsOpenHandle(d, device))
        return false;
    if (d.clockRunning && !d.paused) {
        d.partialMs = static_cast<double>(port::TickCount() - d.startTick) - d.consumedMs;
        d.clockRunning = false;
    }
    d.paused = true;
    return true;
}

bool RestartWaveOut(WaveDevice device) {
    Device& d = TheDevice();
    std::lock_guard<std::mutex> guard(d.lock);
    if (!IsOpenHandle(d, device))
        return false;
    d.paused = false;
    StartClock(d);
    d.changed.notify_all();
    return true;
}

bool ResetWaveOut(WaveDevice device) {
    Device& d = TheDevice();
    std::lock_guard<std::mutex> guard(d.lock);
    if (!IsOpenHandle(d, device))
        return false;
    while (!d.queue.empty())
        FinishFront(d, false);
    d.clockRunning = false;
    d.partialMs = 0.0;
    return true;
}

bool CloseWaveOut(WaveDevice device) {
    Device& d = TheDevice();
    std::thread pacer;
    {
        std::lock_guard<std::mutex> guard(d.lock);
        if (!IsOpenHandle(d, device) || !d.queue.empty())
            return false;
        d.open = false;
        d.stopPacer = true;
        pacer.swap(d.pacer);
        d.changed.notify_all();
    }
    if (pacer.joinable())
        pacer.join();
    return true;
}

} // namespace port
