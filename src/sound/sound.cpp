// The sound-effects engine: open and close, the voices, the engine thread that refills each
// buffer the device returns, and the integer mixer. UI thread, except ServeDevice and MixBlock,
// which run on the engine thread under the voice lock.
#include "sound/sound.h"

#include <algorithm>
#include <cstring>

#include "port/messages.h"
#include "state/alloc.h"

Sound soundEngine;

namespace {

// How long Close waits for the engine thread, which notices the stop event within 5 ms.
constexpr uint32_t kThreadEndTimeoutMs = 2000;
constexpr uint32_t kMaxStep = 256u << 8; // 256 input samples per output sample

} // namespace

Sound::~Sound() {
    Close();
}

int Sound::Open(uint32_t rate, int stereo) {
    if (m_IsOpen)
        return 0;
    switch (rate) {
    case 11025:
        m_MixBlockFrames = 298;
        break;
    case 44100:
        m_MixBlockFrames = 2352;
        break;
    default:
        rate = 22050;
        m_MixBlockFrames = 588;
        break;
    }
    m_OutputRate = rate;
    m_Stereo = stereo != 0 ? 1 : 0;

    const std::size_t bytes = static_cast<std::size_t>(m_MixBlockFrames) * kBlockCount << m_Stereo;
    m_Buffer = AllocArray<uint8_t>(bytes);
    m_Sum = AllocArray<int32_t>(m_MixBlockFrames);
    if (m_Buffer == nullptr || m_Sum == nullptr) {
        Release();
        return 0;
    }
    std::memset(m_Buffer, 128, bytes);

    m_BlocksMixed = 0;
    m_IdleBlocks = 0;
    m_StopEvent = port::CreateAutoEvent();
    if (m_StopEvent != nullptr)
        m_Thread = port::CreateWorkerThread(EngineThread, this, &m_ThreadId);
    if (m_Thread != nullptr)
        port::SetWorkerPriority(m_Thread, port::kPriorityTimeCritical);
    if (m_Thread == nullptr || !StartDevice()) {
        Release();
        return 0;
    }
    m_IsOpen = 1;
    return 1;
}

// Opens the first device that takes the format and queues the five buffers as full blocks of
// silence, paused: the device starts with the first voice. A device that plays silence can run
// dry on a busy machine, and a sound server may pad it with zero bytes, which in unsigned 8-bit
// are full negative scale: a click on the output and a full-scale pulse in any capture that
// listens to it.
bool Sound::StartDevice() {
    const uint16_t channels = static_cast<uint16_t>(1 + m_Stereo);
    m_Format = port::WaveFormat{1, channels, m_OutputRate, channels * m_OutputRate, channels, 8, 0};
    const uint32_t count = port::WaveOutDeviceCount();
    for (uint32_t i = 0; i < count && m_Device == nullptr; ++i)
        m_Device = port::OpenWaveOut(i, m_Format, m_ThreadId);
    if (m_Device == nullptr || !port::PauseWaveOut(m_Device))
        return false;
    for (uint32_t i = 0; i < kBlockCount; ++i) {
        port::WaveHeader& h = m_Headers[i];
        h = port::WaveHeader{};
        h.data = m_Buffer + (i * m_MixBlockFrames << m_Stereo);
        h.bufferLength = m_MixBlockFrames << m_Stereo;
        if (!port::PrepareWaveOut(m_Device, &h) || !port::WriteWaveOut(m_Device, &h))
            return false;
    }
    m_DevicePaused = 1;
    return true;
}

void Sound::Close() {
    if (m_IsOpen)
        Release();
}

// Releases whatever Open acquired, in the order that keeps the thread from requeueing buffers
// while the device hands them back.
void Sound::Release() {
    if (m_Thread != nullptr) {
        port::SignalEvent(m_StopEvent);
        if (!port::WaitWorker(m_Thread, kThreadEndTimeoutMs)) {
            port::TerminateWorker(m_Thread);
            m_Lock.Recover();
        }
        port::CloseWorker(m_Thread);
        m_Thread = nullptr;
        m_ThreadId = 0;
    }
    if (m_StopEvent != nullptr) {
        port::CloseEvent(m_StopEvent);
        m_StopEvent = nullptr;
    }
    if (m_Device != nullptr) {
        port::ResetWaveOut(m_Device);
        for (port::WaveHeader& h : m_Headers)
            port::UnprepareWaveOut(m_Device, &h);
        port::CloseWaveOut(m_Device);
        m_Device = nullptr;
    }
    for (port::WaveHeader& h : m_Headers)
        h = port::WaveHeader{};
    FreeArray(m_Buffer);
    FreeArray(m_Sum);
    {
        // The samples may be gone once the engine is closed; no voice may outlive it.
        std::lock_guard<std::mutex> guard(m_Lock.Mutex());
        for (Voice& v : m_Voices) {
            v.stopped = 1;
            v.paused = 0;
        }
    }
    m_DevicePaused = 0;
    m_IsOpen = 0;
}

uint32_t Sound::PlaySample(const SoundFX& fx) {
    if (!m_IsOpen || fx.data == nullptr || fx.length == 0 || fx.length > kMaxSampleLength)
        return kNoVoice;
    const uint64_t step =
        (static_cast<uint64_t>(fx.rate) << 16) / (static_cast<uint64_t>(m_OutputRate) << 8);
    if (step == 0 || step > kMaxStep)
        return kNoVoice;
    std::lock_guard<std::mutex> guard(m_Lock.Mutex());
    for (uint32_t i = 0; i < kVoiceCount; ++i) {
        Voice& v = m_Voices[i];
        if (!v.stopped || v.paused)
            continue;
        v.data = fx.data;
        v.position = 0;
        v.end = fx.length << 8;
        v.step = static_cast<uint32_t>(step);
        v.volume = std::min(fx.volume, kMaxVolume);
        v.loop = fx.loop != 0 ? 1 : 0;
        v.paused = 0;
        v.stopped = 0;
        m_IdleBlocks = 0;
        if (m_DevicePaused && port::RestartWaveOut(m_Device))
            m_DevicePaused = 0;
        return kFirstVoice + i;
    }
    return kNoVoice;
}

void Sound::StopVoice(uint32_t voice) {
    if (!m_IsOpen || voice < kFirstVoice || voice >= kFirstVoice + kVoiceCount)
        return;
    std::lock_guard<std::mutex> guard(m_Lock.Mutex());
    Voice& v = m_Voices[voice - kFirstVoice];
    v.stopped = 1;
    v.paused = 0; // a paused voice that is stopped is free again
}

void Sound::PauseVoices() {
    std::lock_guard<std::mutex> guard(m_Lock.Mutex());
    for (Voice& v : m_Voices) {
        if (!v.stopped)
            v.paused = 1;
    }
}

uint32_t Sound::EngineThread(void* arg) {
    static_cast<Sound*>(arg)->ServeDevice();
    return 0;
}

// Every returned buffer is mixed anew and queued again behind the others, at full length.
void Sound::ServeDevice() {
    while (!port::WaitForEvent(m_StopEvent, 5)) {
        port::Message m;
        while (port::PeekOwnMessage(&m)) {
            if (m.message != MM_WOM_DONE)
                continue;
            port::WaveHeader* h = port::WaveHeaderOfMessage(m);
            if (h == nullptr)
                break;
            // The user-interface thread restarts the device under the lock, so the buffer is
            // queued again under it too.
            std::lock_guard<std::mutex> guard(m_Lock.Mutex());
            uint8_t* data = h->data;
            MixBlock(data);
            // Idle output is paused rather than fed silence (see StartDevice).
            if (AnyVoicePlaying())
                m_IdleBlocks = 0;
            else if (++m_IdleBlocks == kIdleBlocksBeforePause && port::PauseWaveOut(m_Device))
                m_DevicePaused = 1;
            m_BlocksMixed.fetch_add(1, std::memory_order_relaxed);
            port::UnprepareWaveOut(m_Device, h);
            *h = port::WaveHeader{};
            h->data = data;
            h->bufferLength = m_MixBlockFrames << m_Stereo;
            if (port::PrepareWaveOut(m_Device, h))
                port::WriteWaveOut(m_Device, h);
        }
    }
}

bool Sound::AnyVoicePlaying() const {
    for (const Voice& v : m_Voices)
        if (!v.stopped && !v.paused)
            return true;
    return false;
}

// Voice by voice into one sum per frame; a voice keeps its position below its end, wrapping when
// it loops and freeing itself after its last sample when it does not.
void Sound::MixBlock(uint8_t* out) {
    const uint32_t frames = m_MixBlockFrames;
    std::fill(m_Sum, m_Sum + frames, 0);
    for (Voice& v : m_Voices) {
        if (v.stopped || v.paused)
            continue;
        const int32_t volume = static_cast<int32_t>(v.volume);
        const uint8_t* data = v.data;
        const uint32_t step = v.step;
        const uint32_t end = v.end;
        uint32_t position = v.position;
        for (uint32_t f = 0; f < frames; ++f) {
            m_Sum[f] += volume * (data[position >> 8] - 128);
            position += step;
            if (position >= end) {
                if (!v.loop) {
                    v.stopped = 1;
                    break;
                }
                position %= end;
            }
        }
        v.position = position;
    }
    for (uint32_t f = 0; f < frames; ++f) {
        const int32_t s = std::min(std::max(m_Sum[f] >> 7, -128), 127);
        const uint8_t byte = static_cast<uint8_t>(s + 128);
        if (m_Stereo) {
            out[2 * f] = byte;
            out[2 * f + 1] = byte;
        } else {
            out[f] = byte;
        }
    }
}
