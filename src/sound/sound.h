// The sound-effects engine: mixes up to eight looping or one-shot 8-bit sample voices into one
// stream and plays it through a wave-out device from a time-critical thread of its own. Opened,
// closed and driven from the user-interface thread; the engine thread only mixes.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "port/port.h"
#include "state/worker_lock.h"

// A sample handed to the engine: unsigned 8-bit mono (128 = silence), not owned by the engine.
struct SoundFX {
    const uint8_t* data;
    uint32_t rate;   // Hz
    uint32_t length; // samples
    uint32_t volume; // 0..64
    uint8_t loop;    // 1: repeat from the start at the end
};

class Sound {
public:
    static constexpr uint32_t kNoVoice = 0xFFFF;
    static constexpr uint32_t kFirstVoice = 2; // voices are numbered 2..9 toward callers
    static constexpr uint32_t kVoiceCount = 8;
    static constexpr uint32_t kBlockCount = 5;
    static constexpr uint32_t kMaxVolume = 64;
    // Longest sample the 8.8 fixed-point positions can address with room for any step.
    static constexpr uint32_t kMaxSampleLength = 1u << 22;
    // The device starts paused and runs from the first PlaySample; after this many blocks
    // mixed without a playing voice it is paused again: an idle engine keeps no stream running
    // on the output.
    static constexpr uint32_t kIdleBlocksBeforePause = 20;

    Sound() = default;
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;
    ~Sound();

    // Opens the default output at 44100, 22050 or 11025 Hz (any other rate opens at 22050) in
    // 8-bit mono or stereo and starts the engine thread. 1 on success; 0 when already open or
    // when no device, memory or thread could be had (then nothing is left acquired).
    int Open(uint32_t rate, int stereo);
    // Stops the thread and the device, frees the buffers and frees every voice. Repeatable.
    void Close();

    // Starts a voice on the sample: its number 2..9, or kNoVoice when the engine is closed, the
    // sample is empty, longer than kMaxSampleLength or at a rate more than 256 times off the
    // output rate, or all eight voices are busy.
    uint32_t PlaySample(const SoundFX& fx);
    // Frees voice 2..9; other numbers are ignored.
    void StopVoice(uint32_t voice);
    // Silences every playing voice; they stay busy.
    void PauseVoices();

    // Guards the voices and the sample data they read: a caller rewriting a sample that a voice
    // plays holds it meanwhile.
    std::mutex& VoiceLock() { return m_Lock.Mutex(); }

    // Mixes the next block (MixBlockFrames frames) into out and advances the voices; the caller
    // holds VoiceLock. This is what the engine thread does with every buffer the device returns.
    void MixBlock(uint8_t* out);

    bool IsOpen() const { return m_IsOpen != 0; }
    uint32_t OutputRate() const { return m_OutputRate; }
    uint32_t MixBlockFrames() const { return m_MixBlockFrames; }
    // Blocks the engine thread has mixed since Open.
    uint32_t BlocksMixed() const { return m_BlocksMixed.load(std::memory_order_relaxed); }

private:
    struct Voice {
        uint32_t volume = 0;
        uint8_t loop = 0;
        uint8_t paused = 0;
        uint8_t stopped = 1;
        const uint8_t* data = nullptr;
        uint32_t step = 0;     // 8.8 fixed point: 256 is one input sample per output sample
        uint32_t position = 0; // 8.8 fixed point
        uint32_t end = 0;      // length << 8
    };

    static uint32_t EngineThread(void* arg);
    void ServeDevice();
    bool AnyVoicePlaying() const;
    bool StartDevice();
    void Release();

    WorkerLock m_Lock; // also the device's buffers and state, as the port's contract asks
    port::WaveDevice m_Device = nullptr;
    port::WaveFormat m_Format{};
    port::WaveHeader m_Headers[kBlockCount]{};
    uint8_t* m_Buffer = nullptr;
    int32_t* m_Sum = nullptr; // one mixing sum per frame
    uint32_t m_MixBlockFrames = 0;
    port::ThreadHandle m_Thread = nullptr;
    uint32_t m_ThreadId = 0;
    port::EventHandle m_StopEvent = nullptr;
    uint8_t m_IsOpen = 0;
    uint32_t m_OutputRate = 0;
    uint32_t m_Stereo = 0;
    Voice m_Voices[kVoiceCount];
    // Under m_Lock: blocks mixed in a row with no voice playing, and whether the engine paused
    // the device for it.
    uint32_t m_IdleBlocks = 0;
    uint8_t m_DevicePaused = 0;
    std::atomic<uint32_t> m_BlocksMixed{0};
};

// The program's one engine, opened when the analyzer view is created.
extern Sound soundEngine;
