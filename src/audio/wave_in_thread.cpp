// The capture thread: the UI thread's side (configure, start, stop, read, resume) and the worker
// that copies each completed device buffer into the ring under the capture lock.
#include "audio/wave_in_thread.h"

#include <algorithm>
#include <cstring>

#include "port/messages.h"
#include "state/alloc.h"

namespace {

constexpr uint32_t kWorkerNoObject = 0xFFFFFFFF;

bool KnownRate(uint32_t rate) {
    return rate == 8000 || rate == 11025 || rate == 22050 || rate == 44100;
}

} // namespace

void RingWrite(uint8_t* ring, uint32_t ringBytes, uint32_t at, const uint8_t* from, uint32_t count,
               uint32_t padTo) {
    const uint32_t first = std::min(count, ringBytes - at);
    std::memcpy(ring + at, from, first);
    std::memcpy(ring, from + first, count - first);
    const uint32_t zeroAt = (at + count) % ringBytes;
    const uint32_t zeros = padTo - count;
    const uint32_t firstZeros = std::min(zeros, ringBytes - zeroAt);
    std::memset(ring + zeroAt, 0, firstZeros);
    std::memset(ring, 0, zeros - firstZeros);
}

void RingRead(const uint8_t* ring, uint32_t ringBytes, uint32_t at, uint8_t* to, uint32_t count) {
    const uint32_t first = std::min(count, ringBytes - at);
    std::memcpy(to, ring + at, first);
    std::memcpy(to + first, ring, count - first);
}

CWaveInThread::CWaveInThread() : stopEvent(port::CreateAutoEvent()) {}

CWaveInThread::~CWaveInThread() {
    Stop();
    if (stopEvent != nullptr)
        port::CloseEvent(stopEvent);
}

bool CWaveInThread::Configure(Callback onEvent, int32_t threadPriority, uint16_t count,
                              uint32_t bytes, uint16_t channels, uint32_t rate, uint16_t bits) {
    // The worker and the device use the sizes while running.
    if (thread != nullptr)
        return false;
    // Taken as unsigned, -14 .. -1 lie above -15: the values the platform's idle priority
    // (-15) and the normal range do not use.
    if (static_cast<uint32_t>(threadPriority) > static_cast<uint32_t>(-15))
        return false;
    if (count < 4 || bytes < 80 || (channels != 1 && channels != 2) || (bits != 8 && bits != 16) ||
        !KnownRate(rate))
        return false;
    const uint16_t blockAlign = static_cast<uint16_t>(bits * channels / 8);
    // A buffer must hold whole frames, or the zeros after a short one would shift every later
    // frame; the ring and its spare buffer must be addressable.
    if (bytes % blockAlign != 0 || (uint64_t{count} + 1) * bytes > UINT32_MAX)
        return false;
    callback = onEvent;
    priority = threadPriority;
    bufferCount = count;
    bufferBytes = bytes;
    format.formatTag = 1;
    format.channels = channels;
    format.samplesPerSec = rate;
    format.blockAlign = blockAlign;
    format.avgBytesPerSec = blockAlign * rate;
    format.bitsPerSample = bits;
    format.extraSize = 0;
    ringBytes = uint32_t{count} * bytes;
    configured = 1;
    return true;
}

bool CWaveInThread::Start() {
    if (thread != nullptr || configured == 0 || stopEvent == nullptr)
        return false;
    // A Stop that had to terminate its worker leaves the event signalled; it must not end the
    // new one.
    port::WaitForEvent(stopEvent, 0);
    uint32_t id = 0;
    port::ThreadHandle created = port::CreateWorkerThread(WorkerProc, this, &id);
    if (created == nullptr)
        return false;
    {
        std::lock_guard<std::mutex> guard(lock.Mutex());
        thread = created;
        threadId = id;
    }

    const std::size_t memoryBytes = std::size_t{ringBytes} + bufferBytes;
    deviceMemory = AllocArray<uint8_t>(memoryBytes);
    ring = AllocArray<uint8_t>(memoryBytes);
    headers = AllocArray<port::WaveHeader>(bufferCount);
    staleBuffers = AllocArray<uint8_t>(bufferCount);
    if (deviceMemory == nullptr || ring == nullptr || headers == nullptr ||
        staleBuffers == nullptr) {
        Stop();
        return false;
    }
    std::memset(deviceMemory, 0, memoryBytes);
    std::memset(ring, 0, memoryBytes);
    std::memset(static_cast<void*>(headers), 0, sizeof(port::WaveHeader) * bufferCount);
    std::memset(staleBuffers, 0, bufferCount);

    const uint32_t devices = port::WaveInDeviceCount();
    for (uint32_t deviceId = 0; deviceId < devices; ++deviceId) {
        port::WaveDevice opened = nullptr;
        if (!port::OpenWaveIn(deviceId, format, threadId, &opened))
            continue;
        bool recording = true;
        {
            std::lock_guard<std::mutex> guard(lock.Mutex());
            device = opened;
            for (uint32_t i = 0; i < bufferCount && recording; ++i)
                recording = Requeue(i);
            if (recording) {
                ResumeLocked();
                port::SetWorkerPriority(thread, priority);
                stopped = 0;
                recording = port::StartWaveIn(device);
            }
        }
        if (recording)
            return true;
        break;
    }
    Stop();
    return false;
}

bool CWaveInThread::Stop() {
    if (thread == nullptr)
        return false;
    port::SetWorkerPriority(thread, port::kPriorityNormal);
    port::SignalEvent(stopEvent);
    if (!port::WaitWorker(thread, kStopTimeoutMs)) {
        port::TerminateWorker(thread);
        lock.Recover();
    }
    // The handle is this thread's alone: the worker never closes or clears it.
    port::CloseWorker(thread);

    std::lock_guard<std::mutex> guard(lock.Mutex());
    thread = nullptr;
    threadId = 0;
    if (device != nullptr) {
        port::StopWaveIn(device);
        port::ResetWaveIn(device);
        for (uint32_t i = 0; i < bufferCount; ++i)
            port::UnprepareWaveIn(device, &headers[i]);
        port::CloseWaveIn(device);
        device = nullptr;
    }
    FreeMemory();
    return true;
}

void CWaveInThread::FreeMemory() {
    FreeArray(deviceMemory);
    FreeArray(ring);
    FreeArray(headers);
    FreeArray(staleBuffers);
    // A Read after Stop must find nothing to read rather than the freed ring.
    counts.bytesDiscarded += available;
    readPtr = nullptr;
    available = 0;
    stopped = 0;
}

void CWaveInThread::Resume() {
    std::lock_guard<std::mutex> guard(lock.Mutex());
    ResumeLocked();
}

void CWaveInThread::ResumeLocked() {
    counts.bytesDiscarded += available;
    readPtr = nullptr;
    available = 0;
    if (device == nullptr)
        return;
    // Buffers the device has finished but the worker has not taken yet hold audio from before
    // this call.
    for (uint32_t i = 0; i < bufferCount; ++i)
        if (port::WaveInBufferDone(device, &headers[i]))
            staleBuffers[i] = 1;
    if (stopped == 1)
        RestartRecordingLocked();
}

void CWaveInThread::RestartRecordingLocked() {
    port::SetWorkerPriority(thread, priority);
    port::StartWaveIn(device);
    stopped = 0;
}

bool CWaveInThread::Read(void* destination, uint32_t count) {
    std::lock_guard<std::mutex> guard(lock.Mutex());
    if (destination == nullptr || readPtr == nullptr || count > available)
        return false;
    const uint32_t at = static_cast<uint32_t>(readPtr - ring);
    RingRead(ring, ringBytes, at, static_cast<uint8_t*>(destination), count);
    readPtr = ring + (at + count) % ringBytes;
    available -= count;
    counts.bytesRead += count;
    if (stopped == 1 && ringBytes / bufferCount + available <= ringBytes)
        RestartRecordingLocked();
    return true;
}

bool CWaveInThread::IsRunning() const {
    return thread != nullptr && configured != 0;
}

uint32_t CWaveInThread::BytesPerSecond() const {
    return configured != 0 ? format.avgBytesPerSec : 0;
}

uint32_t CWaveInThread::Available() {
    std::lock_guard<std::mutex> guard(lock.Mutex());
    return available;
}

CaptureCounts CWaveInThread::Counts() {
    std::lock_guard<std::mutex> guard(lock.Mutex());
    return counts;
}

uint32_t CWaveInThread::WorkerProc(void* arg) {
    if (arg == nullptr)
        return kWorkerNoObject;
    static_cast<CWaveInThread*>(arg)->Work();
    return 0;
}

void CWaveInThread::Work() {
    while (!port::WaitForEvent(stopEvent, kWorkerWaitMs)) {
        port::Message message;
        while (port::PeekOwnMessage(&message)) {
            port::WaveHeader* header =
                message.message == MM_WIM_DATA ? port::WaveHeaderOfMessage(message) : nullptr;
            if (header == nullptr)
                continue;
            const uint32_t result = TakeBuffer(header);
            if (callback != nullptr && result != 0)
                callback(result);
        }
    }
}

uint32_t CWaveInThread::TakeBuffer(port::WaveHeader* header) {
    std::lock_guard<std::mutex> guard(lock.Mutex());
    // Only this run's own headers are touched.
    const uintptr_t first = reinterpret_cast<uintptr_t>(headers);
    const uintptr_t at = reinterpret_cast<uintptr_t>(header);
    if (device == nullptr || at < first || at >= first + sizeof(port::WaveHeader) * bufferCount)
        return 0;
    const uint32_t i = static_cast<uint32_t>(header->user);
    if (i >= bufferCount || header != &headers[i])
        return 0;

    port::UnprepareWaveIn(device, header);
    ++counts.buffersDone;
    uint32_t result = 0;
    if (staleBuffers[i] != 0) {
        staleBuffers[i] = 0;
        ++counts.buffersStale;
    } else {
        if (readPtr == nullptr) {
            readPtr = ring + i * bufferBytes;
            available = 0;
        }
        if (available + bufferBytes > ringBytes) {
            port::SetWorkerPriority(thread, port::kPriorityNormal);
            port::StopWaveIn(device);
            stopped = 1;
            ++counts.buffersFull;
            result = kResultRingFull;
        } else {
            // Into the slot after the unread bytes, not slot i: after a dropped buffer the
            // device's order and the ring's no longer agree.
            const uint32_t writeAt = static_cast<uint32_t>(readPtr - ring + available) % ringBytes;
            const uint32_t recorded = std::min(header->bytesRecorded, bufferBytes);
            RingWrite(ring, ringBytes, writeAt, header->data, recorded, bufferBytes);
            available += bufferBytes;
            ++counts.buffersStored;
            counts.bytesStored += bufferBytes;
            result = kResultStored;
        }
    }
    Requeue(i);
    return result;
}

bool CWaveInThread::Requeue(uint32_t i) {
    port::WaveHeader& h = headers[i];
    h.data = deviceMemory + std::size_t{i} * bufferBytes;
    h.bufferLength = bufferBytes;
    h.bytesRecorded = 0;
    h.user = i;
    h.flags = 0;
    return port::PrepareWaveIn(device, &h) && port::AddWaveInBuffer(device, &h);
}
