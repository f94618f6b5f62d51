// Two sample rings that delay channel B (the right input) against channel A before the transfer
// analysis. User-interface thread only.
#pragma once

#include <cstdint>

class CDelayLine {
public:
    CDelayLine() = default;
    ~CDelayLine() { Free(); }
    CDelayLine(const CDelayLine&) = delete;
    CDelayLine& operator=(const CDelayLine&) = delete;

    // Rings of n + delayA and n + delayB samples, zeroed, with channel B's write position
    // delayB samples ahead of its read position. False when a ring cannot be allocated or a
    // length is not positive; the line is then uninitialised and holds no ring.
    bool Init(int32_t n, int32_t delayA, int32_t delayB);
    void Free();

    // Stores count interleaved stereo frames (left into A, right into B); false when the line
    // is not initialised.
    bool Push(const int16_t* frames, int32_t count);

    // Next sample of each channel; 0 from a line that is not initialised. Inline: the Stereo
    // windowing reads two per frame, 65536 at the largest size.
    int16_t ReadA() {
        if (!initialised)
            return 0;
        if (readA >= lengthA)
            readA = 0;
        return bufferA[readA++];
    }
    int16_t ReadB() {
        if (!initialised)
            return 0;
        if (readB >= lengthB)
            readB = 0;
        return bufferB[readB++];
    }

    uint32_t initialised = 0;
    int16_t* bufferA = nullptr;
    int16_t* bufferB = nullptr;
    int32_t lengthA = 0;
    int32_t lengthB = 0;
    int32_t readA = 0;
    int32_t readB = 0;
    int32_t writeA = 0;
    int32_t writeB = 0;
};

extern CDelayLine delayLine;

// True when the Stereo windowing must read through the delay line: a delay is set and the line
// holds its rings. A line that failed to initialise is bypassed (the inputs go through undelayed).
bool DelayLineActive();
