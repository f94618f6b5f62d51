// The test-tone generator's signal side: the tone table (white noise, pink noise or a sine at
// 44100 Hz) that the sound engine plays as one looping voice, and starting and stopping it from
// the tone bar's values. User-interface thread; the table is only rewritten under the engine's
// voice lock.
#pragma once

#include <cstdint>

#include "sound/sound.h"

constexpr int32_t kToneTableSize = 262144;
constexpr uint32_t kToneRate = 44100;
constexpr int32_t kMaxToneVolume = 127;
// Characters of the frequency text that are read.
constexpr int kFrequencyTextMax = 20;

enum ToneType : int32_t { kToneOff = 0, kToneWhite = 1, kTonePink = 2, kToneSine = 3 };

extern uint8_t toneTable[kToneTableSize]; // the signal the tone voice plays; 128 is silence
extern int32_t toneLength;                // samples of toneTable in the loop
extern uint32_t toneVoice;                // the engine's voice playing the tone
extern SoundFX toneSample;                // the sample handed to the engine

// Voss-McCartney pink noise from five white sources. Start-up sets the one instance up with
// PinkNoiseInit(pinkNoise, 128); it keeps its state from one pink table to the next.
struct PinkNoiseState {
    int32_t maxKey;
    int32_t key;
    int32_t white[5];
    uint32_t range;
};
extern PinkNoiseState pinkNoise;

// A range below 5 is taken as 5, the least that gives each source a value.
void PinkNoiseInit(PinkNoiseState& state, uint32_t range);
// The next value, 0 .. about range - 5.
uint32_t PinkNoiseNext(PinkNoiseState& state);

// Each fills all kToneTableSize bytes of table at a volume of 0..127 and returns the loop length.
// A sine holds a whole number of periods of the frequency as given: above half the tone rate
// it is the alias the rate makes of it, below 0 the sine of -frequency with inverted phase;
// 0 is taken as 1 Hz.
int32_t FillSine(int32_t frequency, int32_t volume, uint8_t* table);
int32_t FillWhiteNoise(int32_t volume, uint8_t* table);
// Centred on 128, spread over about the volume.
int32_t FillPinkNoise(int32_t volume, PinkNoiseState& state, uint8_t* table);

// What StartTone reads from the tone bar.
struct ToneControls {
    const char* frequencyText; // the Frequency combo's text (only the first 20 characters count)
    int32_t toneSelection;     // the Tone combo's selection: 0 White Noise, 1 Pink Noise, 2 Sine
    int32_t volume;            // the Volume trackbar's position, 0..127
    void (*checkPlayButton)(bool down); // presses or releases " Play "; may be null
};

// Presses " Play " and makes the tone table from the controls: 1 when a table was made. A
// frequency text that reads as 0 (no digits), or no tone chosen, plays nothing and returns 0
// (the button stays down). With updateOnly the playing voice keeps going
// over the rewritten table (a volume change); otherwise the tone starts anew.
int StartTone(const ToneControls& controls, int updateOnly);
// Releases " Play " and stops the tone if one plays.
void StopTone(void (*checkPlayButton)(bool down));
// Once per frame: a playing noise tone gets a fresh table so that it never repeats audibly.
void RefreshNoiseTone();
