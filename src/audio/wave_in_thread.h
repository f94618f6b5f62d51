// Capture of PCM audio from the first wave-in device that accepts the format, handed to the
// user-interface thread through a ring of four (bufferCount) device buffers. The UI thread
// configures, starts, stops and reads; the object's worker thread fills the ring.
#pragma once

#include <cstdint>
#include <mutex>

#include "port/port.h"
#include "state/worker_lock.h"

// What the capture thread has done with the audio since it was constructed, over every start:
// each buffer the device handed back was stored in the ring or dropped (ring full, or finished
// before a Resume), and every byte stored is read, discarded unread by Resume or Stop, or still
// waiting. Soak runs and tests check the balance.
struct CaptureCounts {
    uint64_t buffersDone;    // buffers of this object's runs that the worker took back
    uint64_t buffersStored;  // of them, copied into the ring
    uint64_t buffersFull;    // dropped by a full ring (recording halted)
    uint64_t buffersStale;   // dropped because they were finished before a Resume
    uint64_t bytesStored;    // into the ring, zeros after a short buffer included
    uint64_t bytesRead;      // moved out by Read
    uint64_t bytesDiscarded; // unread bytes dropped by Resume or Stop
};

class CWaveInThread {
public:
    // Called on the worker thread after a completed buffer, with the capture lock released.
    using Callback = void (*)(uint32_t result);
    static constexpr uint32_t kResultStored = 1;   // the buffer went into the ring
    static constexpr uint32_t kResultRingFull = 2; // the ring was full: recording halted
    static constexpr uint32_t kWorkerWaitMs = 5;
    static constexpr uint32_t kStopTimeoutMs = 10000;

    CWaveInThread();
    ~CWaveInThread();
    CWaveInThread(const CWaveInThread&) = delete;
    CWaveInThread& operator=(const CWaveInThread&) = delete;

    // Checks and keeps the configuration: false, changing nothing, for a priority from -14 to
    // -1, fewer than 4 buffers, buffers under 80 bytes or not whole frames, a ring over 4 GiB,
    // channels other than 1 or 2, bits other than 8 or 16, a rate other than 8000, 11025, 22050
    // or 44100, or while running.
    bool Configure(Callback onEvent, int32_t threadPriority, uint16_t count, uint32_t bytes,
                   uint16_t channels, uint32_t rate, uint16_t bits);
    // Starts the worker and records from the first device that accepts the format. On failure
    // nothing stays allocated or open.
    bool Start();
    // Ends the worker, closes the device and frees the memory; the configuration stays. False
    // when nothing was running.
    bool Stop();
    // Drops everything unread (and every buffer finished before this call); the next completed
    // buffer starts the ring afresh. Restarts recording halted by a full ring. Either thread.
    void Resume();
    // Moves count bytes out of the ring; false when fewer are ready. Restarts a halted recording
    // once a device buffer fits again.
    bool Read(void* destination, uint32_t count);
    bool IsRunning() const;
    uint32_t BytesPerSecond() const;
    uint32_t Available();
    CaptureCounts Counts();

private:
    static uint32_t WorkerProc(void* arg);
    void Work();
    uint32_t TakeBuffer(port::WaveHeader* header);
    bool Requeue(uint32_t i);
    void ResumeLocked();
    void RestartRecordingLocked();
    void FreeMemory();

    uint32_t configured = 0;
    uint32_t threadId = 0;
    port::ThreadHandle thread = nullptr; // written by the UI thread only
    WorkerLock lock;                     // the ring, readPtr, available, stopped, the device
    port::EventHandle stopEvent = nullptr;
    int32_t priority = 0;
    uint16_t bufferCount = 0;
    uint32_t bufferBytes = 0;
    uint32_t available = 0;
    uint8_t* readPtr = nullptr; // null: not synchronised
    uint32_t ringBytes = 0;
    uint8_t* deviceMemory = nullptr;
    uint8_t* ring = nullptr;
    port::WaveDevice device = nullptr;
    port::WaveHeader* headers = nullptr;
    uint8_t* staleBuffers = nullptr; // per buffer: finished before a Resume, to be dropped
    uint32_t stopped = 0;
    port::WaveFormat format{};
    Callback callback = nullptr;
    CaptureCounts counts{}; // under the lock
};

// The ring copies of the capture thread, offsets in bytes, wrapping at ringBytes. RingWrite puts
// count bytes at offset at and zeros after them up to padTo bytes in all (count <= padTo <=
// ringBytes); RingRead takes count bytes (<= ringBytes) from offset at.
void RingWrite(uint8_t* ring, uint32_t ringBytes, uint32_t at, const uint8_t* from, uint32_t count,
               uint32_t padTo);
void RingRead(const uint8_t* ring, uint32_t ringBytes, uint32_t at, uint8_t* to, uint32_t count);
