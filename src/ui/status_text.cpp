// Status bar texts and the view's scroll bar. User-interface thread only.
#include "ui/status_text.h"

#include <cstdio>

#include "analysis/trace_processing.h"
#include "port/port.h"
#include "state/state.h"
#include "views/view_layout.h"

void UpdateStatusText() {
    char text[64];
    std::snprintf(text, sizeof text, " FFT: %dKhz @ %dK", captureRate / 1000,
                  captureFftSize / 1000);
    port::SetStatusText(0, text);
    std::snprintf(text, sizeof text, " Gain: %ddb", static_cast<int>(gainDb));
    port::SetStatusText(1, text);
    std::snprintf(text, sizeof text, " Magnification: x%d", static_cast<int>(zoom));
    port::SetStatusText(2, text);
}

void UpdateScrollBar() {
    int position = 0;
    switch (displayMode) {
    case kModeLinear:
    case kModeSpectrogram:
    case kModeTransferLinear:
        position = firstBin;
        break;
    case kModeLog:
    case kModeTransferLog:
    case kModePhaseLog:
        position = static_cast<int>(binCount * LogPosition(BinToHz(firstBin)));
        break;
    default:
        break;
    }
    port::SetViewScrollBar(binCount, static_cast<int>(binCount / zoom), position);
    UpdateStatusText();
}
