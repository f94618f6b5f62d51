// The test-tone generator: its tables, the pink-noise source, and starting, stopping and
// refreshing the tone voice. User-interface thread. Each table is made in a scratch table first
// and copied into toneTable under the engine's voice lock, so the lock is held only for the copy.
#include "ui/tone_generator.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "state/state.h"

uint8_t toneTable[kToneTableSize];
int32_t toneLength;
uint32_t toneVoice;
SoundFX toneSample;
PinkNoiseState pinkNoise;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kPinkSources = 5;

uint8_t scratchTable[kToneTableSize];

// Leading blanks, an optional sign, then decimal digits; no digits read as 0. Saturates instead of
// overflowing, since the value is bounded afterwards anyway.
int32_t ReadFrequency(const char* text) {
    if (text == nullptr)
        return 0;
    int i = 0;
    while (i < kFrequencyTextMax && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < kFrequencyTextMax && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    for (; i < kFrequencyTextMax && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), INT32_MAX);
    return static_cast<int32_t>(negative ? -value : value);
}

void PublishTable(int32_t length) {
    std::lock_guard<std::mutex> guard(soundEngine.VoiceLock());
    std::memcpy(toneTable, scratchTable, sizeof toneTable);
    toneLength = length;
}

} // namespace

void PinkNoiseInit(PinkNoiseState& state, uint32_t range) {
    state.maxKey = 31;
    state.range = std::max<uint32_t>(range, kPinkSources);
    state.key = 0;
    for (int32_t& w : state.white)
        w = static_cast<int32_t>(static_cast<uint32_t>(std::rand()) % (state.range / kPinkSources));
}

// Source j is drawn anew whenever bit j of the counter changes, so low sources change often and
// high ones seldom.
uint32_t PinkNoiseNext(PinkNoiseState& state) {
    const int32_t last = state.key;
    ++state.key;
    if (state.key > state.maxKey)
        state.key = 0;
    const int32_t diff = last ^ state.key;
    uint32_t sum = 0;
    for (int j = 0; j < kPinkSources; ++j) {
        if ((diff >> j & 1) != 0)
            state.white[j] = static_cast<int32_t>(static_cast<uint32_t>(std::rand()) %
                                                  (state.range / kPinkSources));
        sum += static_cast<uint32_t>(state.white[j]);
    }
    return sum;
}

// A negative frequency gives a negative period and cycle count, which make the same loop length
// and a sine of inverted phase. In double precision every 32-bit frequency but 0 keeps the loop
// length above 262144 - 44100 and at most 262144 samples.
int32_t FillSine(int32_t frequency, int32_t volume, uint8_t* table) {
    const int32_t f = frequency == 0 ? 1 : frequency;
    const double amplitude = std::min(std::max(volume, 0), kMaxToneVolume);
    const double period = static_cast<double>(kToneRate) / f;
    const double cycles = std::trunc(kToneTableSize / period);
    const auto length = static_cast<int32_t>(cycles * period);
    const double loopPeriod = length / cycles;
    for (int32_t i = 0; i < kToneTableSize; ++i)
        table[i] = static_cast<uint8_t>(128.0 - std::sin(2.0 * kPi * i / loopPeriod) * amplitude);
    return length;
}

int32_t FillWhiteNoise(int32_t volume, uint8_t* table) {
    const int32_t v = std::min(volume, kMaxToneVolume);
    if (v <= 0) {
        std::memset(table, 128, kToneTableSize);
        return kToneTableSize;
    }
    for (int32_t i = 0; i < kToneTableSize; ++i)
        table[i] = static_cast<uint8_t>((std::rand() % v + 128 - v / 2) % 256);
    return kToneTableSize;
}

int32_t FillPinkNoise(int32_t volume, PinkNoiseState& state, uint8_t* table) {
    const auto range =
        static_cast<uint32_t>(std::min(std::max(volume, kPinkSources), kMaxToneVolume));
    if (range != state.range) {
        // Sources not yet redrawn would still carry values of the old range.
        state.range = range;
        for (int32_t& w : state.white)
            w %= static_cast<int32_t>(range / kPinkSources);
    }
    // The five sources sum to 0 .. 5 * (range / 5 - 1); shift the middle of that to silence.
    const int32_t top = kPinkSources * (static_cast<int32_t>(state.range) / kPinkSources - 1);
    const int32_t offset = 128 - top / 2;
    for (int32_t i = 0; i < kToneTableSize; ++i)
        table[i] = static_cast<uint8_t>(static_cast<int32_t>(PinkNoiseNext(state)) + offset);
    return kToneTableSize;
}

int StartTone(const ToneControls& controls, int updateOnly) {
    if (controls.checkPlayButton != nullptr)
        controls.checkPlayButton(true);
    const int32_t frequency = ReadFrequency(controls.frequencyText);
    if (frequency == 0)
        return 0;
    if (controls.toneSelection < 0 || controls.toneSelection > 2)
        return 0;
    toneType = controls.toneSelection + 1;
    toneVolume = std::min(std::max(controls.volume, 0), kMaxToneVolume);
    if (!updateOnly)
        soundEngine.StopVoice(toneVoice);

    int32_t length = 0;
    if (toneType == kToneWhite)
        length = FillWhiteNoise(toneVolume, scratchTable);
    else if (toneType == kTonePink)
        length = FillPinkNoise(toneVolume, pinkNoise, scratchTable);
    else
        length = FillSine(frequency, toneVolume, scratchTable);
    PublishTable(length);

    toneSample = SoundFX{toneTable, kToneRate, static_cast<uint32_t>(toneLength), 64, 1};
    if (!updateOnly)
        toneVoice = soundEngine.PlaySample(toneSample);
    return 1;
}

void StopTone(void (*checkPlayButton)(bool down)) {
    if (checkPlayButton != nullptr)
        checkPlayButton(false);
    if (toneType != kToneOff) {
        soundEngine.StopVoice(toneVoice);
        toneType = kToneOff;
    }
}

void RefreshNoiseTone() {
    if (toneType == kToneWhite)
        PublishTable(FillWhiteNoise(toneVolume, scratchTable));
    else if (toneType == kTonePink)
        PublishTable(FillPinkNoise(toneVolume, pinkNoise, scratchTable));
}
