// Zoom, scroll and drag zoom. User-interface thread only.
#include "views/zoom.h"

#include <cmath>

#include "gfx/dib.h"
#include "port/messages.h"
#include "port/port.h"
#include "state/state.h"
#include "views/spectrogram_view.h"
#include "views/view_layout.h"

int32_t dragActive = 0;
int32_t dragStartX = 0;
int32_t dragEndX = 0;

namespace {

constexpr double kMaxZoom = 250.0;

bool IsLogMode(int32_t mode) {
    return mode == kModeLog || mode == kModeTransferLog || mode == kModePhaseLog;
}

bool IsBandMode(int32_t mode) {
    return (mode >= kModeOctave && mode <= kModeTwelfthOctave) || mode == kModeSpl;
}

bool IsDragMode(int32_t mode) {
    return mode == kModeLinear || mode == kModeLog || mode == kModeSpectrogram ||
           IsTransferMode(mode);
}

int PlotLeft() {
    return displayMode == kModeSpectrogram ? kSpectrogramLeft : kPlotLeft;
}

// 2^e as a frequency, with e exactly 0 standing for 0 Hz.
double OctaveToHz(double e) {
    return e == 0.0 ? 0.0 : std::pow(2.0, e);
}

int ClampX(int x) {
    const int left = PlotLeft();
    if (x < left)
        return left;
    if (x > left + plotWidth)
        return left + plotWidth;
    return x;
}

// In the spectrogram, zoom and scroll clear the history, and are refused while it is frozen.
bool SpectrogramAllows() {
    if (displayMode != kModeSpectrogram)
        return true;
    if (paused)
        return false;
    ClearSpectrogramImage();
    return true;
}

} // namespace

double CentreBin(int32_t mode) {
    if (!IsLogMode(mode))
        return firstBin + binCount / zoom * 0.5;
    const double e = 15.0 * (LogPosition(firstBin * binWidthHz) + 0.5 / zoom);
    return OctaveToHz(e) / binWidthHz;
}

int32_t LeftEdgeForCentre(int32_t mode, double centre) {
    if (!IsLogMode(mode)) {
        const int32_t left = static_cast<int32_t>(centre - binCount / zoom * 0.5);
        return left > 0 ? left : 0;
    }
    const double e = 15.0 * (LogPosition(static_cast<int32_t>(centre) * binWidthHz) - 0.5 / zoom);
    return static_cast<int32_t>(OctaveToHz(e) / binWidthHz);
}

void ZoomView(int key) {
    if (IsBandMode(displayMode) || (displayMode == kModeSpectrogram && paused))
        return;
    double newZoom = zoom;
    if (key == VK_UP)
        newZoom = zoom + 1.0 > kMaxZoom ? kMaxZoom : zoom + 1.0;
    else if (key == VK_DOWN)
        newZoom = zoom - 1.0 < 1.0 ? 1.0 : zoom - 1.0;
    // At a limit the window stays put: working the left edge out again from the centre would
    // move a logarithmic view by the bisection's tolerance at every key press.
    if (newZoom == zoom || !SpectrogramAllows())
        return;
    const double centre = CentreBin(displayMode);
    zoom = newZoom;
    firstBin = zoom > 1.0 ? LeftEdgeForCentre(displayMode, centre) : 0;
    ResetPeakHold();
}

void ScrollView(int key, int32_t mode) {
    if (mode == kModeSpectrogram && !SpectrogramAllows())
        return;
    if (IsLogMode(mode)) {
        double step = key == VK_LEFT ? firstBin / (2.0 * zoom) : firstBin / zoom;
        if (step < 1.0)
            step = 1.0;
        if (key == VK_LEFT)
            firstBin = static_cast<int32_t>(firstBin - step);
        else if (key == VK_RIGHT)
            firstBin = static_cast<int32_t>(firstBin + step);
        const int32_t last = static_cast<int32_t>(std::pow(2.0, 15.0 - 15.0 / zoom) / binWidthHz);
        if (firstBin > last)
            firstBin = last;
        if (firstBin < 0)
            firstBin = 0;
    } else if (!IsBandMode(mode)) {
        int32_t span = static_cast<int32_t>(binCount / zoom);
        if (span < 32)
            span = 32;
        const int32_t step = span >> 5;
        if (key == VK_LEFT) {
            firstBin -= step;
            if (firstBin < 0)
                firstBin = 0;
        } else if (key == VK_RIGHT) {
            firstBin += step;
            if (firstBin + span >= binCount)
                firstBin = binCount - span;
        }
    }
    ResetPeakHold();
}

void BeginDragZoom() {
    if (!IsDragMode(displayMode) || !port::KeyIsDown(VK_SHIFT))
        return;
    int x = 0;
    int y = 0;
    if (!port::CursorInFocusWindow(&x, &y))
        return;
    const int left = PlotLeft();
    if (!(left < x && x < left + plotWidth && kPlotTop < y && y < kPlotTop + plotHeight))
        return;
    dragActive = 1;
    dragStartX = x;
    dragEndX = x;
    port::CaptureMouse();
}

void TrackDragZoom() {
    int x = 0;
    int y = 0;
    if (dragActive && port::CursorInFocusWindow(&x, &y))
        dragEndX = ClampX(x);
}

void EndDragZoom() {
    if (!dragActive)
        return;
    dragActive = 0;
    port::ReleaseMouse();
    int x = dragEndX;
    int y = 0;
    if (port::CursorInFocusWindow(&x, &y))
        x = ClampX(x);
    dragEndX = x;
    const int left = PlotLeft();
    const int lo = (dragStartX < x ? dragStartX : x) - left;
    const int hi = (dragStartX < x ? x : dragStartX) - left;
    const double width = (hi - lo) / zoom;
    const double mid = lo + (hi - lo) * 0.5;
    if (width == 0.0)
        return;
    double newZoom = plotWidth / width;
    if (newZoom > kMaxZoom)
        newZoom = kMaxZoom;
    double centre;
    if (IsLogMode(displayMode)) {
        const double e = 15.0 * (LogPosition(firstBin * binWidthHz) + mid / plotWidth / zoom);
        centre = OctaveToHz(e) / binWidthHz;
    } else {
        centre = firstBin + mid * binCount / plotWidth / zoom;
    }
    zoom = newZoom;
    firstBin = LeftEdgeForCentre(displayMode, centre);
    if (firstBin < 0)
        firstBin = 0;
    if (firstBin > binCount - 1)
        firstBin = binCount - 1;
    spectrogramReset = 1;
    ResetPeakHold();
}

void DrawDragSelection(CDib& surface) {
    if (!dragActive || dragStartX == dragEndX)
        return;
    const int lo = dragStartX < dragEndX ? dragStartX : dragEndX;
    const int hi = dragStartX < dragEndX ? dragEndX : dragStartX;
    surface.BlendRect(lo, kPlotTop, hi, kPlotTop + plotHeight, MakeColor(255, 255, 0), 50);
}
