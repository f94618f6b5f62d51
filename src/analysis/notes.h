// The musical note nearest to a frequency, for the peak and cursor readouts. Any thread.
#pragma once

#include <cstdint>

struct Note {
    const char* name; // two characters: "A ", "A#", ... "G#"; two blanks below 16 Hz
    int32_t semitone; // 0..12 above the A that starts the octave; 12 is the A at its top
    int32_t octave;   // octaves change at A: 440 Hz is in octave 5
};

// Fills note for frequency hz and returns 0, or returns -1 and leaves note as it was when no
// note fits (a frequency that is not a finite number).
int32_t NoteOf(double hz, Note& note);
