// Readout texts and their holds. User-interface thread only.
#include "views/readouts.h"

#include <cmath>
#include <cstdio>

#include "analysis/analysis_setup.h"
#include "analysis/notes.h"
#include "analysis/trace_processing.h"
#include "gfx/dib.h"
#include "gfx/font.h"
#include "port/messages.h"
#include "port/port.h"
#include "state/state.h"

PeakReadoutHold peakReadoutHold;
TransferReadoutHold transferReadoutHold;

namespace {

constexpr uint32_t kReadoutHoldMs = 1000;
constexpr uint32_t kWhiteRef = 0x00FFFFFF; // platform RGB value of white

void Show(CDib& surface, int y, const char* text) {
    DrawSystemText(surface, -1, y, kWhiteRef, text);
}

} // namespace

void FormatFrequencyAndNote(char* text, std::size_t size, double frequency) {
    Note note = {"  ", 0, 0};
    NoteOf(frequency, note);
    if (frequency >= 1000.0)
        std::snprintf(text, size, "%0.3fKHz (%s%d)", frequency * 0.001, note.name, note.octave);
    else
        std::snprintf(text, size, "%0.1fHz (%s%d)", frequency, note.name, note.octave);
}

void DrawPeakReadout(CDib& surface, int y) {
    const int32_t bin = FindPeak();
    const double centre = PeakCentroid(bin, 0);
    const float frequency = static_cast<float>(BinToHz(centre));
    const float level = static_cast<float>(TraceAt(centre, 0));
    const uint32_t now = port::TickCount();
    PeakReadoutHold& hold = peakReadoutHold;
    if (!(level < hold.level && now - hold.time <= kReadoutHoldMs)) {
        hold.level = level;
        hold.frequency = frequency;
        hold.time = now;
    }
    char where[64];
    FormatFrequencyAndNote(where, sizeof where, hold.frequency);
    char text[128];
    std::snprintf(text, sizeof text, "Peak: %s, %.0fdB", where, hold.level);
    Show(surface, y, text);
}

void DrawTransferPeakReadout(CDib& surface, int y) {
    const int32_t bin = FindTransferPeak();
    const float frequency = static_cast<float>(BinToHz(PeakCentroid(bin, 0)));
    const float difference = peakValue;
    const double phase = phaseTrace[bin];
    const uint32_t now = port::TickCount();
    TransferReadoutHold& hold = transferReadoutHold;
    if (!(std::fabs(hold.difference) > std::fabs(difference) &&
          now - hold.time <= kReadoutHoldMs)) {
        hold.difference = difference;
        hold.frequency = frequency;
        hold.time = now;
    }
    char where[64];
    FormatFrequencyAndNote(where, sizeof where, hold.frequency);
    char text[128];
    std::snprintf(text, sizeof text, "Peak: %s, %.2fdB, %.1f", where, hold.difference, phase);
    Show(surface, y, text);
}

void DrawCursorReadout(CDib& surface, int y, double frequency, double level) {
    char where[64];
    FormatFrequencyAndNote(where, sizeof where, frequency);
    char text[128];
    std::snprintf(text, sizeof text, "%s, %.1fdB", where, level);
    Show(surface, y, text);
}

void DrawTransferCursorReadout(CDib& surface, int y, double frequency, double phase,
                               double magnitude) {
    char where[64];
    FormatFrequencyAndNote(where, sizeof where, frequency);
    char text[128];
    std::snprintf(text, sizeof text, "%s, %.1fdb, %.1f", where, magnitude, phase);
    Show(surface, y, text);
}

bool CursorActive(int left, int top, int width, int height, int* mouseX, int* mouseY) {
    if (!port::KeyIsDown(VK_LBUTTON) || !port::CursorInFocusWindow(mouseX, mouseY))
        return false;
    return left < *mouseX && *mouseX < left + width && top < *mouseY && *mouseY < top + height;
}
