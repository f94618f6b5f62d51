// The readout line above the plots: the held peak readouts and the crosshair readouts, with the
// nearest musical note; and the cursor test the views share. User-interface thread only.
#pragma once

#include <cstddef>
#include <cstdint>

class CDib;

struct PeakReadoutHold {
    float level = -100.0f;
    float frequency = 0.0f;
    uint32_t time = 0;
};
struct TransferReadoutHold {
    float difference = 0.0f;
    float frequency = 0.0f;
    uint32_t time = 0;
};
extern PeakReadoutHold peakReadoutHold;
extern TransferReadoutHold transferReadoutHold;

constexpr int kReadoutY = 32;

// "1.000KHz (B 6)" from 1000 Hz up, else "999.9Hz (B 5)": the frequency and its note.
void FormatFrequencyAndNote(char* text, std::size_t size, double frequency);

void DrawPeakReadout(CDib& surface, int y);
void DrawTransferPeakReadout(CDib& surface, int y);
void DrawCursorReadout(CDib& surface, int y, double frequency, double level);
void DrawTransferCursorReadout(CDib& surface, int y, double frequency, double phase,
                               double magnitude);

// The crosshair cursor is active while the left button is held with the mouse strictly inside
// the plot rectangle (left, top) .. (left + width, top + height); mouseX and mouseY receive the
// position.
bool CursorActive(int left, int top, int width, int height, int* mouseX, int* mouseY);
