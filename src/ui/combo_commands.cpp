// The command handler's answers to the combo boxes of the rebars: the display mode, averaging,
// decay, monitor, weighting, smoothing, vertical scale, delay and input choices.
// User-interface thread only.
#include "ui/combo_commands.h"

#include <cmath>
#include <string>

#include "analysis/analysis_setup.h"
#include "analysis/weighting.h"
#include "gfx/screen.h"
#include "port/messages.h"
#include "port/port.h"
#include "state/state.h"
#include "ui/control_ids.h"
#include "ui/control_panel.h"
#include "ui/status_text.h"
#include "views/spectrogram_view.h"
#include "views/view_layout.h"

namespace {

constexpr double kMaxDelayMs = 1000.0; // delays run from 0 up to below this
constexpr std::size_t kDelayTextMax = 120;

// A decimal number at the start of text: blanks, an optional sign, digits, an optional point and
// more digits ("10ms" reads 10, "12.5" 12.5). Text that does not start with one reads 0. Read
// here rather than with the C library, whose decimal point follows the locale.
double ReadDecimal(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    double sign = 1.0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        sign = text[i] == '-' ? -1.0 : 1.0;
        ++i;
    }
    double value = 0.0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10.0 + (text[i] - '0');
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10.0)
            value += (text[i] - '0') * scale;
    }
    return sign * value;
}

bool ValidDelay(double ms) {
    return ms >= 0.0 && std::trunc(ms) < kMaxDelayMs;
}

intptr_t OnDelay(int code) {
    if (code == CBN_SELCHANGE) {
        const int item = port::ComboSelection(kDelayCombo);
        if (item < 0)
            return 1;
        const double ms = ReadDecimal(port::ComboItemText(kDelayCombo, item));
        if (ValidDelay(ms))
            SetDelay(ms);
        return 1;
    }
    if (code == CBN_EDITCHANGE) {
        const double ms = ReadDecimal(port::ComboEditText(kDelayCombo).substr(0, kDelayTextMax));
        if (ValidDelay(ms)) {
            SetDelay(ms);
        } else {
            port::ShowMessage("Please enter a delay between 0 and 999ms", "Invalid Delay", MB_OK);
            SyncControls();
        }
    }
    return 0;
}

void SetMonitor(int item) {
    constexpr int32_t kChannels[kMonitorModeCount] = {1, 1, 1, 2};
    // The transfer and the phase compare both current channels: a one-channel analysis would
    // leave channel 2's spectrum standing from before, so the Monitor holds Stereo here.
    if (IsTransferMode(displayMode)) {
        port::SetComboSelection(kMonitorCombo, kMonitorStereo);
        return;
    }
    monitorMode = item;
    liveChannelCount = kChannels[item];
    SyncLiveTraceFlags();
}

void SetWeighting(int item) {
    weighting = item;
    if (item == kWeightingNoise)
        CaptureNoiseWeighting();
    else
        BuildWeighting(item);
}

// Runs set for a valid selection of combo id (an index below count); then the status text.
template <typename Set> intptr_t OnChoice(int id, int count, Set set) {
    const int item = port::ComboSelection(id);
    if (item >= 0 && item < count)
        set(item);
    UpdateStatusText();
    return 1;
}

} // namespace

intptr_t ChangeDisplayMode(CScreen& screen, int code) {
    if (code != CBN_SELCHANGE)
        return 0;
    const int mode = port::ComboSelection(kScaleCombo);
    if (mode >= 0 && mode < kDisplayModeCount) {
        traceVisible[2] = traceVisible[3] = traceVisible[4] = 0;
        ResetZoom();
        displayMode = mode;
        splMode = 0;
        if (mode == kModeSpl) {
            splMode = 1;
            weighting = kWeightingA;
            BuildWeighting(weighting);
            averaging = 0;
            decayRate = 50;
        }
        if (mode == kModeSpectrogram) {
            averaging = 0;
            decayRate = 50;
            spectrogramReset = 1;
            DrawSpectrogram(screen, 1);
        }
        if (IsTransferMode(mode)) {
            decayRate = 0;
            liveChannelCount = 2;
            monitorMode = kMonitorStereo;
            transferMode = 1;
        } else {
            SetDelay(0.0);
            transferMode = 0;
            smoothingBins = 0;
        }
        SyncControls();
        ShowTransferBands();
    }
    SyncLiveTraceFlags();
    UpdateStatusText();
    return 1;
}

intptr_t OnComboCommand(CScreen& screen, int id, int code) {
    if (id == kScaleCombo)
        return ChangeDisplayMode(screen, code);
    if (id == kDelayCombo)
        return OnDelay(code);
    if (code != CBN_SELCHANGE)
        return 0;
    switch (id) {
    case kInputCombo: {
        const int item = port::ComboSelection(kInputCombo);
        if (item >= 0)
            port::SelectInputLine(item);
        return 1;
    }
    case kAverageCombo:
        return OnChoice(id, kAveragingChoiceCount,
                        [](int item) { averaging = kAveragingChoices[item].value; });
    case kDecayCombo:
        return OnChoice(id, kDecayChoiceCount,
                        [](int item) { decayRate = kDecayChoices[item].value; });
    case kMonitorCombo:
        return OnChoice(id, kMonitorModeCount, SetMonitor);
    case kWeightingCombo:
        return OnChoice(id, kWeightingCount, SetWeighting);
    case kSmoothingCombo: {
        // The item's text is the width itself ("3" .. "9"); "None" reads 0.
        const int item = port::ComboSelection(id);
        if (item >= 0)
            smoothingBins = static_cast<int32_t>(ReadDecimal(port::ComboItemText(id, item)));
        return 1;
    }
    case kVerticalScaleCombo: {
        constexpr double kScales[] = {0.5, 1.0};
        const int item = port::ComboSelection(id);
        if (item >= 0)
            verticalScale = item < 2 ? kScales[item] : 2.0;
        return 1;
    }
    default:
        return 0;
    }
}
