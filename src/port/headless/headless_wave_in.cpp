// Simulated capture devices of the headless port. Each open device has a thread of its own that
// captures the frames of the time passing on the port's clock into the queued buffers and posts
// MM_WIM_DATA to the owner's worker. Any thread, per the contract in src/port/port.h.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "port/headless/headless.h"
#include "port/headless/headless_clock.h"
#include "port/messages.h"
#include "port/port.h"

namespace {

constexpr uint32_t kMaxRate = 768000;
constexpr double kPi = 3.14159265358979323846;

// What a device keeps in the platform[] of a header it was given.
struct HeaderState {
    port::WaveHeader* next;
    bool prepared;
    bool done;
};
static_assert(sizeof(HeaderState) <= sizeof(port::WaveHeader::platform),
              "the device's buffer state must fit inside the port's header");

HeaderState& State(port::WaveHeader* header) {
    return *reinterpret_cast<HeaderState*>(header->platform);
}

const HeaderState& State(const port::WaveHeader* header) {
    return *reinterpret_cast<const HeaderState*>(header->platform);
}

struct Device {
    std::mutex lock;
    std::condition_variable changed; // wakes the pump and whoever waits for idle
    std::thread pump;
    bool closing = false;

    port::WaveFormat format{};
    uint32_t threadId = 0;
    headless::CaptureSource source;
    uint32_t shortEvery = 0;
    uint32_t shortBytes = 0;

    port::WaveHeader* head = nullptr; // buffer being filled; the queue runs on through next
    port::WaveHeader* tail = nullptr;
    uint32_t queued = 0;
    uint32_t mostQueued = 0; // the owner's buffers are all back when queued reaches it
    uint32_t headBytes = 0;  // bytes already recorded into head
    uint32_t finished = 0;

    bool recording = false;
    uint32_t clockBase = 0;    // clock when recording last started
    uint64_t framesAtBase = 0; // source position then
    uint64_t frame = 0;        // next source frame to capture

    std::vector<int16_t> pairs;       // the frames being captured, left and right
    std::vector<int16_t> fileSamples; // the same frames as a WAV file holds them
};

std::mutex registryLock; // the settings and the list of open devices
std::vector<Device*> openDevices;
headless::CaptureSource captureSource;
uint32_t deviceCount = 1;
uint32_t refusing = 0;
uint32_t shortEvery = 0;
uint32_t shortBytes = 0;

std::atomic<uint32_t> lastDeviceId{0};
std::atomic<uint64_t> framesCaptured{0};
std::atomic<uint64_t> framesLost{0};
std::atomic<uint32_t> buffersFinished{0};

uint64_t Mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

int16_t Scaled(double value) {
    return static_cast<int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * 32767.0));
}

int16_t Noise(const headless::CaptureSource& s, uint64_t n) {
    const uint64_t bits = Mix(static_cast<uint64_t>(s.seed) << 40 ^ n) >> 11;
    return Scaled(s.level * (static_cast<double>(bits) * 0x1.0p-52 - 1.0));
}

// Left and right sample of frame n of a synthetic source at the device's rate.
void SynthFrame(const headless::CaptureSource& s, uint32_t rate, uint64_t n, int16_t out[2]) {
    using Kind = headless::CaptureSource::Kind;
    out[0] = out[1] = 0;
    switch (s.kind) {
    case Kind::Silence:
    case Kind::Wav:
        break;
    case Kind::Sine:
        out[0] = out[1] =
            Scaled(s.level * std::sin(2.0 * kPi * s.frequencyHz * static_cast<double>(n) / rate));
        break;
    case Kind::Noise:
        out[0] = out[1] = Noise(s, n);
        break;
    case Kind::DelayedPair:
        out[0] = Noise(s, n);
        out[1] = n >= s.delayFrames ? Noise(s, n - s.delayFrames) : 0;
        break;
    case Kind::Sequence:
        out[0] = static_cast<int16_t>(static_cast<uint16_t>(n & 0xFFFF));
        out[1] = static_cast<int16_t>(static_cast<uint16_t>(n >> 16 & 0xFFFF));
        break;
    }
}

// Left and right samples of source frames first .. first + count - 1 into d.pairs. A WAV file is
// read a stretch at a time; a mono file gives both channels its one.
void SourceFrames(Device& d, uint64_t first, std::size_t count) {
    d.pairs.assign(2 * count, 0);
    const headless::CaptureSource& s = d.source;
    if (s.kind != headless::CaptureSource::Kind::Wav) {
        for (std::size_t i = 0; i < count; ++i)
            SynthFrame(s, d.format.samplesPerSec, first + i, &d.pairs[2 * i]);
        return;
    }
    headless::WavReader* wav = s.wav.get();
    const uint64_t frames = wav == nullptr ? 0 : wav->Frames();
    if (frames == 0)
        return;
    const uint16_t channels = wav->Channels();
    std::size_t done = 0;
    while (done < count && (s.loop || first + done < frames)) {
        const uint64_t n = (first + done) % frames;
        const std::size_t run =
            static_cast<std::size_t>(std::min<uint64_t>(count - done, frames - n));
        d.fileSamples.resize(run * channels);
        wav->ReadFrames(n, run, d.fileSamples.data());
        for (std::size_t i = 0; i < run; ++i) {
            d.pairs[2 * (done + i)] = d.fileSamples[i * channels];
            d.pairs[2 * (done + i) + 1] = d.fileSamples[i * channels + channels - 1];
        }
        done += run;
    }
}

// A mono device records the left channel; 8-bit samples are unsigned.
void WriteFrame(const Device& d, const int16_t lr[2], uint8_t* to) {
    for (int c = 0; c < d.format.channels; ++c) {
        if (d.format.bitsPerSample == 8) {
            *to++ = static_cast<uint8_t>((lr[c] >> 8) + 128);
        } else {
            const uint16_t v = static_cast<uint16_t>(lr[c]);
            *to++ = static_cast<uint8_t>(v & 0xFF);
            *to++ = static_cast<uint8_t>(v >> 8);
        }
    }
}

bool Queued(const Device& d, const port::WaveHeader* header) {
    for (const port::WaveHeader* h = d.head; h != nullptr; h = State(h).next)
        if (h == header)
            return true;
    return false;
}

// Hands the buffer being filled back to the owner with what it holds.
void FinishHead(Device& d) {
    port::WaveHeader* h = d.head;
    HeaderState& state = State(h);
    d.head = state.next;
    if (d.head == nullptr)
        d.tail = nullptr;
    --d.queued;
    state.next = nullptr;
    state.done = true;
    h->bytesRecorded = d.headBytes;
    d.headBytes = 0;
    ++d.finished;
    ++buffersFinished;
    port::PostToThread(d.threadId, MM_WIM_DATA, reinterpret_cast<uintptr_t>(&d),
                       reinterpret_cast<intptr_t>(h));
}

// Bytes the head buffer takes before it is handed back: whole frames, fewer for a short one.
uint32_t HeadLimit(const Device& d) {
    uint32_t limit = d.head->bufferLength;
    if (d.shortEvery != 0 && (d.finished + 1) % d.shortEvery == 0)
        limit = std::min(limit, d.shortBytes);
    return limit - limit % d.format.blockAlign;
}

// Captures every frame that the clock has passed. Called with d.lock held.
void CatchUp(Device& d) {
    if (!d.recording)
        return;
    const int32_t elapsed = static_cast<int32_t>(port::TickCount() - d.clockBase);
    if (elapsed <= 0)
        return;
    const uint64_t due =
        d.framesAtBase + static_cast<uint64_t>(elapsed) * d.format.samplesPerSec / 1000;
    const uint32_t align = d.format.blockAlign;
    while (d.frame < due) {
        if (d.head == nullptr) {
            framesLost += due - d.frame;
            d.frame = due;
            break;
        }
        const uint32_t limit = HeadLimit(d);
        const uint64_t room = (limit - std::min(limit, d.headBytes)) / align;
        const uint64_t take = std::min(room, due - d.frame);
        SourceFrames(d, d.frame, static_cast<std::size_t>(take));
        for (uint64_t i = 0; i < take; ++i)
            WriteFrame(d, &d.pairs[2 * i], d.head->data + d.headBytes + i * align);
        d.headBytes += static_cast<uint32_t>(take * align);
        d.frame += take;
        framesCaptured += take;
        if (d.headBytes + align > limit)
            FinishHead(d);
    }
}

// The real clock's frames come with real time, and the pump looks for them every millisecond;
// the virtual clock's are captured by whoever moves it (CaptureToNow), and the pump waits.
void Pump(Device* d) {
    std::unique_lock<std::mutex> guard(d->lock);
    while (!d->closing) {
        if (headless::RealClockInUse()) {
            CatchUp(*d);
            d->changed.wait_for(guard, std::chrono::milliseconds(1));
        } else {
            d->changed.wait(guard, [d] { return d->closing || headless::RealClockInUse(); });
        }
    }
}

Device* Get(port::WaveDevice device) {
    return static_cast<Device*>(device);
}

bool Accepts(const port::WaveFormat& f, const headless::CaptureSource& source) {
    if (f.formatTag != 1 || (f.channels != 1 && f.channels != 2) ||
        (f.bitsPerSample != 8 && f.bitsPerSample != 16) || f.samplesPerSec == 0 ||
        f.samplesPerSec > kMaxRate || f.blockAlign != f.channels * f.bitsPerSample / 8 ||
        f.avgBytesPerSec != f.samplesPerSec * f.blockAlign)
        return false;
    return source.kind != headless::CaptureSource::Kind::Wav ||
           (source.wav != nullptr && source.wav->Rate() == f.samplesPerSec);
}

} // namespace

namespace headless {

void SetCaptureSource(const CaptureSource& source) {
    std::lock_guard<std::mutex> guard(registryLock);
    captureSource = source;
}

void SetCaptureDevices(uint32_t count, uint32_t refusingMask) {
    std::lock_guard<std::mutex> guard(registryLock);
    deviceCount = count;
    refusing = refusingMask;
}

void SetCaptureShortBuffers(uint32_t n, uint32_t bytes) {
    std::lock_guard<std::mutex> guard(registryLock);
    shortEvery = n;
    shortBytes = bytes;
}

void ResetCapture() {
    std::lock_guard<std::mutex> guard(registryLock);
    captureSource = CaptureSource();
    deviceCount = 1;
    refusing = 0;
    shortEvery = 0;
    shortBytes = 0;
}

void CaptureToNow() {
    std::lock_guard<std::mutex> registry(registryLock);
    for (Device* d : openDevices) {
        std::lock_guard<std::mutex> guard(d->lock);
        CatchUp(*d);
    }
}

bool WaitCaptureIdle(uint32_t timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    // Held throughout, so no device can close under the wait; the owner's worker does not need it.
    std::lock_guard<std::mutex> registry(registryLock);
    for (Device* d : openDevices) {
        std::unique_lock<std::mutex> guard(d->lock);
        CatchUp(*d);
        if (!d->changed.wait_until(guard, deadline, [d] { return d->queued == d->mostQueued; }))
            return false;
    }
    return true;
}

CaptureStats GetCaptureStats() {
    CaptureStats stats{};
    std::lock_guard<std::mutex> registry(registryLock);
    stats.openDevices = static_cast<uint32_t>(openDevices.size());
    for (Device* d : openDevices) {
        std::lock_guard<std::mutex> guard(d->lock);
        stats.recording = stats.recording || d->recording;
        stats.queuedBuffers += d->queued;
    }
    stats.lastDeviceId = lastDeviceId;
    stats.framesCaptured = framesCaptured;
    stats.framesLost = framesLost;
    stats.buffersFinished = buffersFinished;
    return stats;
}

} // namespace headless

namespace port {

uint32_t WaveInDeviceCount() {
    std::lock_guard<std::mutex> guard(registryLock);
    return deviceCount;
}

bool OpenWaveIn(uint32_t deviceId, const WaveFormat& format, uint32_t threadId, WaveDevice* out) {
    std::lock_guard<std::mutex> registry(registryLock);
    if (deviceId >= deviceCount || (deviceId < 32 && (refusing >> deviceId & 1) != 0) ||
        !Accepts(format, captureSource))
        return false;
    auto* d = new (std::nothrow) Device;
    if (d == nullptr)
        return false;
    d->format = format;
    d->threadId = threadId;
    d->source = captureSource;
    d->shortEvery = shortEvery;
    d->shortBytes = shortBytes;
    try {
        openDevices.push_back(d);
        // On the virtual clock the pump waits for nothing but the choice of the real one.
        headless::WatchClock(d, [d] {
            std::lock_guard<std::mutex> guard(d->lock);
            if (headless::RealClockInUse())
                d->changed.notify_all();
        });
        d->pump = std::thread(Pump, d);
    } catch (const std::exception&) {
        headless::UnwatchClock(d);
        openDevices.erase(std::remove(openDevices.begin(), openDevices.end(), d),
                          openDevices.end());
        delete d;
        return false;
    }
    lastDeviceId = deviceId;
    framesCaptured = 0;
    framesLost = 0;
    buffersFinished = 0;
    *out = d;
    return true;
}

bool PrepareWaveIn(WaveDevice device, WaveHeader* header) {
    Device& d = *Get(device);
    std::lock_guard<std::mutex> guard(d.lock);
    if (Queued(d, header))
        return false;
    State(header) = HeaderState{nullptr, true, false};
    return true;
}

bool UnprepareWaveIn(WaveDevice device, WaveHeader* header) {
    Device& d = *Get(device);
    std::lock_guard<std::mutex> guard(d.lock);
    if (Queued(d, header))
        return false;
    State(header).prepared = false;
    return true;
}

bool AddWaveInBuffer(WaveDevice device, WaveHeader* header) {
    Device& d = *Get(device);
    std::lock_guard<std::mutex> guard(d.lock);
    HeaderState& state = State(header);
    if (!state.prepared || Queued(d, header) || header->data == nullptr)
        return false;
    state.next = nullptr;
    state.done = false;
    header->bytesRecorded = 0;
    if (d.tail == nullptr)
        d.head = header;
    else
        State(d.tail).next = header;
    d.tail = header;
    d.mostQueued = std::max(d.mostQueued, ++d.queued);
    d.changed.notify_all();
    return true;
}

bool WaveInBufferDone(WaveDevice device, const WaveHeader* header) {
    Device& d = *Get(device);
    std::lock_guard<std::mutex> guard(d.lock);
    return State(header).done;
}

bool StartWaveIn(WaveDevice device) {
    Device& d = *Get(device);
    std::lock_guard<std::mutex> guard(d.lock);
    if (!d.recording) {
        d.recording = true;
        d.clockBase = TickCount();
        d.framesAtBase = d.frame;
    }
    return true;
}

bool StopWaveIn(WaveDevice device) {
    Device& d = *Get(device);
    std::lock_guard<std::mutex> guard(d.lock);
    CatchUp(d);
    if (d.recording && d.head != nullptr && d.headBytes > 0)
        FinishHead(d);
    d.recording = false;
    return true;
}

bool ResetWaveIn(WaveDevice device) {
    Device& d = *Get(device);
    std::lock_guard<std::mutex> guard(d.lock);
    CatchUp(d);
    d.recording = false;
    while (d.head != nullptr)
        FinishHead(d);
    return true;
}

bool CloseWaveIn(WaveDevice device) {
    Device* d = Get(device);
    {
        std::lock_guard<std::mutex> registry(registryLock);
        std::lock_guard<std::mutex> guard(d->lock);
        if (d->queued != 0)
            return false;
        openDevices.erase(std::remove(openDevices.begin(), openDevices.end(), d),
                          openDevices.end());
        d->closing = true;
        d->changed.notify_all();
    }
    d->pump.join();
    headless::UnwatchClock(d);
    delete d;
    return true;
}

} // namespace port
