// Delay line of the transfer analysis. User-interface thread only.
#include "analysis/delay_line.h"

#include <cstring>

#include "state/alloc.h"
#include "state/state.h"

CDelayLine delayLine;

bool CDelayLine::Init(int32_t n, int32_t delayA, int32_t delayB) {
    Free();
    // A failed set-up must not leave the line marked usable with its rings gone.
    initialised = 0;
    if (n <= 0 || delayA < 0 || delayB < 0 || delayA > INT32_MAX - n || delayB > INT32_MAX - n)
        return false;
    lengthA = n + delayA;
    lengthB = n + delayB;
    writeA = delayA;
    writeB = delayB;
    readA = 0;
    readB = 0;
    bufferA = AllocArray<int16_t>(static_cast<size_t>(lengthA));
    bufferB = AllocArray<int16_t>(static_cast<size_t>(lengthB));
    if (bufferA == nullptr || bufferB == nullptr) {
        Free();
        return false;
    }
    std::memset(bufferA, 0, static_cast<size_t>(lengthA) * sizeof(int16_t));
    std::memset(bufferB, 0, static_cast<size_t>(lengthB) * sizeof(int16_t));
    initialised = 1;
    return true;
}

void CDelayLine::Free() {
    FreeArray(bufferA);
    FreeArray(bufferB);
    initialised = 0;
}

bool CDelayLine::Push(const int16_t* frames, int32_t count) {
    if (!initialised)
        return false;
    for (int32_t i = 0; i < count; ++i) {
        bufferA[writeA] = frames[2 * i];
        bufferB[writeB] = frames[2 * i + 1];
        if (++writeA == lengthA)
            writeA = 0;
        if (++writeB == lengthB)
            writeB = 0;
    }
    return true;
}

bool DelayLineActive() {
    return delaySamples != 0 && delayLine.initialised != 0;
}
