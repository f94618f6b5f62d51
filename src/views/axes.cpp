// Axes, grids and labels of the views. User-interface thread only.
#include "views/axes.h"

#include "gfx/dib.h"
#include "state/state.h"
#include "views/fonts.h"
#include "views/view_layout.h"

namespace {

const char* const kDbText[] = {"0db", "-20", "-40", "-60", "-80", "-100"};
const char* const kWaveformText[] = {"+100", "+50", "0", "-50", "-100"};
const char* const kTransfer25[] = {"25", "20",  "15",  "10",  "5",  "0",
                                   "-5", "-10", "-15", "-20", "-25"};
const char* const kTransfer50[] = {"50",  "40",  "30",  "20",  "10", "0",
                                   "-10", "-20", "-30", "-40", "-50"};
const char* const kTransfer100[] = {"100", "80",  "60",  "40",  "20",  "0",
                                    "-20", "-40", "-60", "-80", "-100"};
const char* const kPhase45[] = {"45", "33", "22", "11", "0", "-11", "-22", "-33", "-45"};
const char* const kPhase90[] = {"90", "68", "45", "22", "0", "-22", "-45", "-68", "-90"};
const char* const kPhase180[] = {"180", "135", "90", "45", "0", "-45", "-90", "-135", "-180"};

const LabelSet kTransferSets[3] = {
    {50, 5, kTransfer25}, {50, 5, kTransfer50}, {50, 5, kTransfer100}};
const LabelSet kPhaseSets[3] = {{40, 5, kPhase45}, {40, 5, kPhase90}, {40, 5, kPhase180}};

// Below 1.0 the first set of its kind, exactly 1.0 the second, above it the third.
int ScaleIndex() {
    return verticalScale < 1.0 ? 0 : verticalScale == 1.0 ? 1 : 2;
}

const uint16_t kValueGrid = MakeColor(0, 128, 0);
const uint16_t kFrequencyGrid = MakeColor(0, 96, 0);

void DrawLabel(CDib& surface, int x, int y, const char* text) {
    smallFont.DrawText(surface, x, y, text, kWhite, BLIT_KEYED);
}

} // namespace

const LabelSet kDbLabels = {20, 4, kDbText};
const LabelSet kWaveformLabels = {4, 1, kWaveformText};
const char* const kBandLabels[12] = {"16", "31.5", "63", "125", "250", "500",
                                     "1K", "2K",   "4K", "8K",  "16K", "32K"};

const LabelSet& TransferLabels() {
    return kTransferSets[ScaleIndex()];
}
const LabelSet& PhaseLabels() {
    return kPhaseSets[ScaleIndex()];
}

void DrawValueAxis(CDib& surface, int y0, int y1, int x0, int x1, int divisions, int labelEvery,
                   int flags, const char* const* labels) {
    const float step = static_cast<float>(y1 - y0) / divisions;
    const int tickX = flags & kAxisRightTicks ? x1 : x0 - 3;
    const int minorX = flags & kAxisRightTicks ? x1 : x0 - 1;
    float y = static_cast<float>(y0);
    int label = 0;
    for (int i = 0; i <= divisions; ++i, y += step) {
        const int row = static_cast<int>(y);
        if (i % labelEvery != 0) {
            surface.HLine(minorX, row, 1, kWhite);
            continue;
        }
        surface.HLine(tickX, row, 3, kWhite);
        if (flags & kAxisGrid)
            surface.HLine(x0, row, x1 - x0, kValueGrid);
        if (!(flags & kAxisNoLabels)) {
            const char* text = labels[label++];
            DrawLabel(surface, x0 - 5 - smallFont.TextWidth(text), static_cast<int>(y - 5), text);
        }
    }
}

void DrawCategoryAxis(CDib& surface, int x0, int x1, int y, int n, int labelEvery, int flags,
                      const char* const* labels) {
    const int step = (x1 - x0) / n;
    const bool centred = (flags & kAxisCentred) != 0;
    const int marks = centred ? n : n + 1;
    int label = 0;
    for (int i = 0; i < marks; ++i) {
        const int x = x0 + (centred ? step / 2 : 0) + i * step;
        if (i % labelEvery != 0) {
            surface.VLine(x, y, 2, kWhite);
            continue;
        }
        surface.VLine(x, y, 4, kWhite);
        const char* text = labels[label++];
        DrawLabel(surface, x - smallFont.TextWidth(text) / 2, y + 5, text);
    }
}

void DrawLinearFrequencyAxis(CDib& surface, int left, int bottom, int width, int startHz,
                             double zoom) {
    static const int kMajorSteps[] = {10, 20, 50, 100, 250, 500, 1000, 2000, 5000, 10000};
    static const int kMinorDivisors[] = {10, 5, 2, 1};
    const double pxPerHz = width * zoom / (sampleRate / 2);
    int major = kMajorSteps[9];
    for (int step : kMajorSteps) {
        if (static_cast<int>(step * pxPerHz) >= 18) {
            major = step;
            break;
        }
    }
    int minor = major;
    for (int d : kMinorDivisors) {
        if (major % d == 0 && static_cast<int>(major / d * pxPerHz) >= 4) {
            minor = major / d;
            break;
        }
    }
    int lastRight = 0;
    for (int f = (startHz + minor - 1) / minor * minor;; f += minor) {
        const int offset = static_cast<int>((f - startHz) * pxPerHz);
        if (offset >= width)
            break;
        const int x = left + offset;
        if (f % major != 0) {
            surface.VLine(x, bottom, 2, kWhite);
            continue;
        }
        surface.VLine(x, kPlotTop, plotHeight, kFrequencyGrid);
        surface.VLine(x, bottom, 4, kWhite);
        const char* text = FormatFrequencyLabel(f);
        const int half = smallFont.TextWidth(text) / 2;
        if (x - half > lastRight) {
            DrawLabel(surface, x - half, bottom + 5, text);
            lastRight = x + half + 1;
        }
    }
}

void DrawLogFrequencyAxis(CDib& surface, int left, int bottom, int width, float startHz,
                          double zoom) {
    static const double kMarks[] = {0,   4,    8,    16,   31.5, 63,    125,  250,
                                    500, 1000, 2000, 4000, 8000, 16000, 32000};
    const double base = LogPosition(startHz);
    int lastEnd = 0;
    for (double mark : kMarks) {
        const int f = static_cast<int>(mark);
        const int d = static_cast<int>((LogPosition(f) - base) * width * zoom);
        if (d < 0 || d >= width)
            continue;
        const int x = left + d;
        surface.VLine(x, kPlotTop, plotHeight, kFrequencyGrid);
        surface.VLine(x, bottom, 4, kWhite);
        const char* text = FormatFrequencyLabel(f);
        const int half = smallFont.TextWidth(text) / 2;
        if (lastEnd + 3 < x - half) {
            DrawLabel(surface, x - half, bottom + 5, text);
            lastEnd = x + half;
        }
    }
}
