// The status bar texts and the view's scroll bar, brought in line with the analyzer state.
// User-interface thread only.
#pragma once

// " FFT: 44Khz @ 8K", " Gain: 0db", " Magnification: x1".
void UpdateStatusText();
// Range, page and position of the view's scroll bar for the frequency window; then the status.
void UpdateScrollBar();
