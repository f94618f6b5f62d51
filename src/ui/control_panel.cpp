// Building the control panel at start-up and keeping it in step with the settings.
// User-interface thread only.
#include "ui/control_panel.h"

#include <cstdio>

#include "port/port.h"
#include "state/state.h"
#include "ui/analyzer_window.h"
#include "ui/control_ids.h"

namespace {

constexpr int kGainTrackbarMax = 2 * kGainZeroPosition;
constexpr int kVolumeTrackbarMax = 127;
constexpr int kInitialVolume = 64;
constexpr int kInitialTone = 2;      // "Sine"
constexpr int kInitialFrequency = 0; // "1000"

int DecayItem() {
    const int item = ChoiceIndex(kDecayChoices, kDecayChoiceCount, decayRate);
    return item < 0 ? 0 : item;
}

int VerticalScaleItem() {
    if (verticalScale == 0.5)
        return 0;
    return verticalScale == 1.0 ? 1 : 2;
}

// The selections and texts that start-up and every later sync set alike.
void ShowCommonSettings() {
    port::CheckButton(kCmdPeakTrace, peakTraceOn != 0);
    port::CheckButton(kCmdPause, paused != 0);
    port::SetComboSelection(kScaleCombo, displayMode);
    port::SetComboSelection(kDecayCombo, DecayItem());
    port::SetComboSelection(kMonitorCombo, monitorMode);
    port::SetComboSelection(kWeightingCombo, weighting);
    port::SetComboSelection(kVerticalScaleCombo, VerticalScaleItem());
    char text[40];
    std::snprintf(text, sizeof text, "%0.2fms", delayMs);
    port::SetComboEditText(kDelayCombo, text);
}

} // namespace

int BuildControlPanel(port::WindowHandle rebar) {
    port::StringList inputs;
    port::GetInputLineNames(&inputs);
    port::CreateControlPanel(rebar, inputs);
    if (!inputs.empty())
        port::SetComboSelection(kInputCombo, port::GetSelectedInputLine());

    port::SetComboSelection(kToneCombo, kInitialTone);
    port::SetComboSelection(kFrequencyCombo, kInitialFrequency);
    port::SetTrackbar(kVolumeTrackbar, 0, kVolumeTrackbarMax, kInitialVolume);
    port::SetTrackbar(kGainTrackbar, 0, kGainTrackbarMax,
                      static_cast<int>(gainDb + kGainZeroPosition));
    port::SetComboSelection(kAverageCombo,
                            ChoiceIndex(kAveragingChoices, kAveragingChoiceCount, averaging));
    port::SetComboSelection(kSmoothingCombo,
                            ChoiceIndex(kSmoothingChoices, kSmoothingChoiceCount, smoothingBins));
    ShowCommonSettings();
    ShowTransferBands();
    return 1;
}

void SyncControls() {
    port::SetTrackbar(kGainTrackbar, 0, kGainTrackbarMax, kGainZeroPosition);
    const int average = ChoiceIndex(kAveragingChoices, kAveragingChoiceCount, averaging);
    if (average >= 0)
        port::SetComboSelection(kAverageCombo, average);
    const int smoothing = ChoiceIndex(kSmoothingChoices, kSmoothingChoiceCount, smoothingBins);
    port::SetComboSelection(kSmoothingCombo, smoothing < 0 ? 0 : smoothing);
    port::CheckButton(kCmdTraceA, traceVisible[2] != 0);
    port::CheckButton(kCmdTraceB, traceVisible[3] != 0);
    port::CheckButton(kCmdTraceC, traceVisible[4] != 0);
    ShowCommonSettings();
}

void ShowTransferBands() {
    port::ShowBand(kBandVerticalScale, transferMode != 0);
    port::ShowBand(kBandSmoothing, transferMode != 0);
    port::ShowBand(kBandDelay, transferMode != 0);
}

void RefillInputCombo() {
    if (!port::ControlExists(kInputCombo))
        return;
    port::StringList inputs;
    port::GetInputLineNames(&inputs);
    port::SetComboItems(kInputCombo, inputs);
    // A mixer without inputs has no selection to read (and would report its failure twice).
    if (!inputs.empty())
        port::SetComboSelection(kInputCombo, port::GetSelectedInputLine());
}
