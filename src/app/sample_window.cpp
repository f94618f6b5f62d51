// Sample window advance, channel levels, held readout and frame rate. User-interface thread.
#include "app/sample_window.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "analysis/analysis_setup.h"
#include "state/state.h"

namespace {
constexpr uint32_t kBytesPerFrame = 4;
constexpr uint32_t kMeterHoldMs = 1000;
} // namespace

WindowStep AdvanceSampleWindow(BlockReader read, void* context) {
    const uint32_t blockBytes = static_cast<uint32_t>(blockFrames) * kBytesPerFrame;
    if (windowFill < captureFftSize) {
        if (!read(context, sampleWindow + 2 * windowFill, blockBytes))
            return WindowStep::kNoBlock;
        windowFill += blockFrames;
        return WindowStep::kFilling;
    }
    if (windowShifted == 0) {
        std::memmove(sampleWindow, sampleWindow + 2 * blockFrames,
                     static_cast<size_t>(captureFftSize - blockFrames) * kBytesPerFrame);
        windowShifted = 1;
    }
    if (!read(context, sampleWindow + 2 * (captureFftSize - blockFrames), blockBytes))
        return WindowStep::kNoBlock;
    windowShifted = 0;
    return WindowStep::kSlid;
}

float ChannelLevelDb(const int16_t* frames, int32_t count, int channel) {
    int peak = 0;
    for (int32_t i = 0; i < count; ++i) {
        const int v = std::abs(static_cast<int>(frames[2 * i + channel]));
        if (v > peak)
            peak = v;
    }
    const double v = peak / 32767.0;
    return v * v > 0 ? static_cast<float>(10.0 * std::log10(v * v)) : -96.0f;
}

float HoldMeterReading(float level, uint32_t now) {
    if (level > meterHoldDb) {
        meterHoldDb = level;
        meterHoldTime = now;
        return level;
    }
    if (now - meterHoldTime < kMeterHoldMs)
        return meterHoldDb;
    meterHoldDb = -100.0f;
    return level;
}

void FrameRateRing::Tick(uint32_t now) {
    stamps_[counter_ % 16] = now;
    ++counter_;
    if (counter_ < 16) {
        frameRate = 0;
        return;
    }
    const uint32_t dt = now - stamps_[counter_ % 16];
    frameRate = dt > 0 ? static_cast<int32_t>(16000u / dt) : 999;
}
