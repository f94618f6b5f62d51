// The command handler: menu commands, tool-bar buttons, trackbars, tool tips, mixer changes, and
// the keys, mouse and scroll-bar actions of the analyzer view. User-interface thread only.
#include <cmath>
#include <string>

#include "analysis/trace_processing.h"
#include "port/messages.h"
#include "port/port.h"
#include "state/state.h"
#include "ui/analyzer_window.h"
#include "ui/combo_commands.h"
#include "ui/control_ids.h"
#include "ui/control_panel.h"
#include "ui/fft_settings_menu.h"
#include "ui/status_text.h"
#include "ui/tone_generator.h"
#include "ui/trace_export.h"
#include "views/view_layout.h"
#include "views/zoom.h"

namespace {

// The window whose message is being handled.
AnalyzerWindow* analyzer = nullptr;

constexpr float kCalibrationMax = 200.0f;
constexpr float kCalibrationMin = -100.0f;

void Toggle(int32_t& flag) {
    flag = flag ? 0 : 1;
}

void OnKey(int key) {
    switch (key) {
    case VK_SPACE:
        Toggle(liveTracesShown);
        break;
    case VK_PRIOR:
        if (splCalibrationDb < kCalibrationMax)
            splCalibrationDb += 1.0f;
        break;
    case VK_NEXT:
        if (splCalibrationDb > kCalibrationMin)
            splCalibrationDb -= 1.0f;
        break;
    case VK_LEFT:
    case VK_RIGHT:
        ScrollView(key, displayMode);
        UpdateScrollBar();
        break;
    case VK_UP:
    case VK_DOWN:
        ZoomView(key);
        UpdateScrollBar();
        break;
    case 'F':
        Toggle(fadeDisplay);
        break;
    case 'S':
        Toggle(splMode);
        break;
    case VK_F1:
        port::OpenHelpContents(analyzer->viewWindow);
        break;
    default:
        break;
    }
}

bool IsLogMode(int32_t mode) {
    return mode == kModeLog || mode == kModeTransferLog || mode == kModePhaseLog;
}

// The view's own scroll bar.
void OnViewScroll(uintptr_t wParam) {
    const int code = static_cast<int>(wParam & 0xFFFF);
    switch (code) {
    case SB_LINELEFT:
    case SB_PAGELEFT:
        ScrollView(VK_LEFT, displayMode);
        break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
        ScrollView(VK_RIGHT, displayMode);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        const int p = static_cast<int>((wParam >> 16) & 0xFFFF);
        if (displayMode == kModeLinear || displayMode == kModeSpectrogram ||
            displayMode == kModeTransferLinear)
            firstBin = p;
        else if (IsLogMode(displayMode))
            firstBin = static_cast<int32_t>(HzToBin(std::pow(2.0, 15.0 * p / binCount)));
        ResetPeakHold();
        break;
    }
    default:
        return;
    }
    UpdateScrollBar();
    analyzer->Frame();
}

void CheckPlayButton(bool down) {
    port::CheckButton(kCmdPlay, down);
}

void PlayTone(int updateOnly) {
    const std::string frequency = port::ComboEditText(kFrequencyCombo);
    StartTone({frequency.c_str(), port::ComboSelection(kToneCombo),
               port::TrackbarPosition(kVolumeTrackbar), CheckPlayButton},
              updateOnly);
}

// The Volume trackbar retunes a playing tone; any other (the Gain trackbar) sets the gain.
void OnTrackbar(port::WindowHandle trackbar) {
    const int id = port::ControlIdOf(trackbar);
    if (id == kVolumeTrackbar) {
        if (toneType != kToneOff)
            PlayTone(1);
    } else {
        gainDb = static_cast<float>(port::TrackbarPosition(kGainTrackbar) - kGainZeroPosition);
    }
    UpdateStatusText();
}

void SaveTraces() {
    if (!TracesToExport()) {
        port::ShowMessage("No traces to save: nothing has been analysed yet", "ExportTraces",
                          MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    char path[port::kPathChars] = "trace.txt";
    if (port::AskSaveFileName(analyzer->viewWindow, "Save Traces", path) != 0)
        return;
    if (!ExportTraces(path))
        port::ShowMessage("Unable to write the trace file", "ExportTraces",
                          MB_OK | MB_ICONEXCLAMATION);
}

void ShowAbout() {
    analyzer->StopCapture();
    // The view's owner is the frame, which the dialog takes as its owner.
    port::ShowAboutDialog(analyzer->viewWindow);
    analyzer->StartCapture();
}

void ShowFftSettings() {
    {
        const FramesHeld held(*analyzer);
        ShowFftSettingsMenu(*analyzer);
    }
    SyncControls();
}

intptr_t SelectMode(int id) {
    displayMode = id - kCmdModeFirst;
    port::SetComboSelection(kScaleCombo, displayMode);
    const intptr_t result = ChangeDisplayMode(analyzer->screen, CBN_SELCHANGE);
    UpdateScrollBar();
    return result;
}

intptr_t OnCommand(int id, int code) {
    if (id >= kCmdModeFirst && id <= kCmdModeLast)
        return SelectMode(id);
    switch (id) {
    case kCmdExit:
        port::CloseFrameWindow();
        break;
    case kToneCombo:
    case kFrequencyCombo:
        if (code == CBN_SELCHANGE)
            StopTone(CheckPlayButton);
        break;
    case kCmdPlay:
        PlayTone(0);
        break;
    case kCmdStop:
        StopTone(CheckPlayButton);
        break;
    case kCmdTraceA:
    case kCmdTraceB:
    case kCmdTraceC:
        CaptureTrace(id - kCmdTraceA);
        break;
    case kCmdPeakTrace:
        Toggle(peakTraceOn);
        UpdateStatusText();
        break;
    case kCmdFftSettings:
        ShowFftSettings();
        break;
    case kCmdTestTone:
        Toggle(toneBarVisible);
        port::ShowBand(kBandToneBar, toneBarVisible != 0);
        break;
    case kCmdPause:
        Toggle(paused);
        UpdateStatusText();
        break;
    case kCmdZoomIn:
        ZoomView(VK_UP);
        UpdateScrollBar();
        break;
    case kCmdZoomOut:
        ZoomView(VK_DOWN);
        UpdateScrollBar();
        break;
    case kCmdScrollLeft:
        ScrollView(VK_LEFT, displayMode);
        UpdateScrollBar();
        break;
    case kCmdScrollRight:
        ScrollView(VK_RIGHT, displayMode);
        UpdateScrollBar();
        break;
    case kCmdSaveAscii:
        SaveTraces();
        break;
    case kCmdSwapInputs:
        Toggle(swapChannels);
        break;
    case kCmdAbout:
        ShowAbout();
        break;
    case kCmdZoomReset:
        ResetZoom();
        spectrogramReset = 1;
        ResetPeakHold();
        UpdateScrollBar();
        break;
    case kCmdPeakHold:
        Toggle(peakHoldInfinite);
        break;
    case kCmdSelectMixer:
        port::SelectMixerDevice(analyzer->viewWindow);
        RefillInputCombo();
        break;
    default:
        return OnComboCommand(analyzer->screen, id, code);
    }
    return 0;
}

// The Mode popup (index 1 of the menu bar) shows the current display mode checked.
void OnInitMenuPopup(intptr_t lParam) {
    if ((lParam & 0xFFFF) != 1)
        return;
    for (int id = kCmdModeFirst; id <= kCmdModeLast; ++id)
        port::CheckMenuItem(id, false);
    port::CheckMenuItem(kCmdModeFirst + displayMode, true);
}

void OnNotify(intptr_t lParam) {
    auto* header = reinterpret_cast<NotifyHeader*>(lParam);
    if (header == nullptr || header->code != TTN_NEEDTEXTA)
        return;
    auto* request = reinterpret_cast<ToolTipTextRequest*>(lParam);
    for (const ToolTip& tip : kToolTips) {
        if (static_cast<uintptr_t>(tip.id) == header->idFrom) {
            // The platform only reads the text.
            request->text = const_cast<char*>(tip.text);
            return;
        }
    }
}

// A change made to the mixer, here or elsewhere: the Input combo follows it.
void OnMixerChange() {
    if (!port::ControlExists(kInputCombo))
        return;
    const int selected = port::GetSelectedInputLine();
    if (port::ComboSelection(kInputCombo) != selected)
        port::SetComboSelection(kInputCombo, selected);
}

} // namespace

intptr_t HandleAnalyzerMessage(AnalyzerWindow& window, uint32_t message, uintptr_t wParam,
                               intptr_t lParam) {
    analyzer = &window;
    switch (message) {
    case WM_KEYDOWN:
        OnKey(static_cast<int>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        BeginDragZoom();
        return 0;
    case WM_MOUSEMOVE:
        TrackDragZoom();
        return 0;
    case WM_LBUTTONUP:
        EndDragZoom();
        UpdateScrollBar();
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam == 0)
            OnViewScroll(wParam);
        else
            OnTrackbar(reinterpret_cast<port::WindowHandle>(lParam));
        return 0;
    case WM_COMMAND:
        return OnCommand(static_cast<int>(wParam & 0xFFFF),
                         static_cast<int>((wParam >> 16) & 0xFFFF));
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(lParam);
        return 0;
    case WM_NOTIFY:
        OnNotify(lParam);
        return 0;
    case MM_MIXM_CONTROL_CHANGE:
        OnMixerChange();
        return 0;
    default:
        return 0;
    }
}
