// The frame update's bookkeeping that needs no drawing: advancing the sample window by one
// capture block, the channel levels of the newest block with the held readout, and the
// frame-rate ring. User-interface thread only.
#pragma once

#include <cstdint>

// Reads exactly bytes bytes of the next capture block into dest; false when no block is ready.
using BlockReader = bool (*)(void* context, void* dest, uint32_t bytes);

enum class WindowStep {
    kNoBlock, // nothing new: nothing is to be drawn
    kFilling, // a block went into the window while it first fills: nothing is drawn yet
    kSlid,    // the window holds the newest captureFftSize frames: analyse and draw
};

// Appends one block of blockFrames frames to sampleWindow: while the window first fills, at
// windowFill; afterwards by sliding it one block and reading into its end. A read that fails
// after the slide keeps the slid window and is retried on the next call without sliding again.
WindowStep AdvanceSampleWindow(BlockReader read, void* context);

// Peak level of one channel (0 left, 1 right) over count interleaved stereo frames, in dB of
// a 16-bit full scale; -96 for digital silence.
float ChannelLevelDb(const int16_t* frames, int32_t count, int channel);

// The numeric readout of the left level: rises at once, holds a peak for 1000 ms.
float HoldMeterReading(float level, uint32_t now);

// Frame-rate measurement over the last 16 frame updates.
class FrameRateRing {
public:
    // Records a frame update at now and sets frameRate: 0 until 16 frames were seen, then
    // 16000 / (ms across the last 16 frames), 999 when they took no time at all.
    void Tick(uint32_t now);

private:
    uint32_t stamps_[16] = {};
    uint32_t counter_ = 0; // never reset; wraps after years of frames
};
