// The spectrum views (linear and logarithmic frequency axis) with traces A, B, C and the peak
// trace, and the waveform view. User-interface thread only.
#pragma once

class CDib;

void DrawSpectrumLinear(CDib& surface);
void DrawSpectrumLog(CDib& surface);
void DrawWaveform(CDib& surface);

// Index of the first trace to draw going down from 4 (2 while the live traces are hidden), and
// the trace the crosshair reads: the first visible one counting up from there; -1 if none.
int LowestDrawnTrace();
int CursorTrace();
