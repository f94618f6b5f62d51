// The command handler: keys, mouse and scroll-bar actions of the analyzer view.
// User-interface thread only.
#include <cmath>

#include "analysis/trace_processing.h"
#include "app/my_class.h"
#include "app/state.h"
#include "port/messages.h"
#include "port/port.h"
#include "ui/status_text.h"
#include "views/view_layout.h"
#include "views/zoom.h"

namespace {

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
        port::OpenHelpContents(app.viewWindow);
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
    app.Frame();
}

} // namespace

intptr_t MyClass::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
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
        return 0;
    default:
        return 0;
    }
}
