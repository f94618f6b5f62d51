// Note names from frequencies by octaves of A = 440 Hz. Any thread.
#include "analysis/notes.h"

#include <cmath>

namespace {

const char* const kNoteNames[13] = {"A ", "A#", "B ", "C ", "C#", "D ", "D#",
                                    "E ", "F ", "F#", "G ", "G#", "A "};

} // namespace

int32_t NoteOf(double hz, Note& note) {
    // An infinite frequency would double the reference for ever; NaN passes no comparison.
    if (!std::isfinite(hz))
        return -1;
    if (hz < 16.0) {
        note = {"  ", 0, 0};
        return 0;
    }
    double r = 440.0;
    int32_t octave = 5;
    if (r > hz) {
        while (r > hz) {
            r *= 0.5;
            --octave;
        }
    } else {
        while (hz * 0.5 > r) {
            r *= 2.0;
            ++octave;
        }
    }
    const int32_t s = static_cast<int32_t>(std::log(hz / r) * 12.0 / std::log(2.0) + 0.5);
    if (s < 0 || s > 12)
        return -1;
    note = {kNoteNames[s], s, octave};
    return 0;
}
