// Controls of the headless wave-out device, for tests and tonalyx-cli: how many devices there
// are and which of them refuse, how queued buffers are paced, and the record of everything the
// device played. Any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "port/port.h"

namespace headless {

// How queued buffers finish playing.
// Manual: only PlayWaveOutBuffers plays them, oldest first.
// Clock:  each buffer lasts its length in the device's format, measured on port::TickCount (the
//         virtual clock unless the real one is chosen); once the clock has passed its end it is
//         played within about a millisecond of real time. With the virtual clock, AdvanceTime
//         drives playback.
enum class WaveOutPacing { Manual, Clock };

// Devices for later opens: `count` of them (0 is a machine without any) where device i refuses
// every open when bit i of refusedMask is set. Only one device can be open at a time; a second
// open fails as a busy device would. Defaults: one device, refusing nothing, Clock pacing.
void SetWaveOutDevices(uint32_t count, uint32_t refusedMask = 0);
// Takes effect at the next open.
void SetWaveOutPacing(WaveOutPacing pacing);
// Back to the defaults above; the device must be closed.
void RestoreWaveOutDefaults();

struct WaveOutRecord {
    bool open;                  // the device is open now
    uint32_t opens;             // successful opens since the defaults were restored
    uint32_t deviceIndex;       // the index the device was opened with last
    port::WaveFormat format;    // and its format
    std::vector<uint8_t> bytes; // every byte played since the last take, in order
    uint32_t buffersPlayed;     // buffers played since the last take
    uint32_t buffersQueued;     // buffers queued now
};
// What the device opened last has played since the last call (or since it was opened), and its
// present state; the played bytes are handed over and forgotten.
WaveOutRecord TakeWaveOutRecord();

// Plays up to n of the oldest queued buffers at once unless the device is paused or closed;
// returns how many were played. Meant for Manual pacing.
std::size_t PlayWaveOutBuffers(std::size_t n);
// Waits up to timeoutMs of real time until the open device holds at least n queued buffers.
bool WaitWaveOutQueued(std::size_t n, uint32_t timeoutMs);

} // namespace headless
