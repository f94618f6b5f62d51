// Drawing of the transfer and phase views. Signed values centred on the middle of the plot:
// where several bins share a pixel column the column keeps the extreme of the larger magnitude
// and shows the column's range as a vertical span. User-interface thread only.
#include "views/transfer_view.h"

#include <algorithm>
#include <cmath>

#include "analysis/analysis_setup.h"
#include "gfx/dib.h"
#include "state/state.h"
#include "views/axes.h"
#include "views/readouts.h"
#include "views/spectrum_view.h"
#include "views/view_layout.h"

namespace {

enum class Quantity { kMagnitude, kPhase };

// The value a trace shows at bin b, and its row on the view's scale.
struct Scale {
    Quantity quantity;
    double Value(int t, int32_t b) const {
        if (t == 0)
            return quantity == Quantity::kPhase ? phaseTrace[b] : traces[0][b] - traces[1][b];
        return traces[t][b];
    }
    int Y(double v) const { return quantity == Quantity::kPhase ? PhaseY(v) : TransferY(v); }
};

// Extremes of the bins of one column: the chosen value is the one of larger magnitude, the
// minimum on a tie.
struct Extremes {
    double max = -200.0;
    double min = 200.0;
    void Fold(double v) {
        if (v > max)
            max = v;
        if (v < min)
            min = v;
    }
    double Chosen() const { return std::fabs(min) >= std::fabs(max) ? min : max; }
};

int Right() {
    return kPlotLeft + plotWidth;
}
int Bottom() {
    return kPlotTop + plotHeight;
}

void Segment(CDib& surface, int x1, int y1, int x2, int y2, uint16_t colour) {
    surface.LineClipped(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                        static_cast<float>(y2), colour, kPlotLeft, kPlotTop, Right(), Bottom());
}

// The rows yTop..yBottom that lie in the plot. The primitive's clip moves a start above the
// plot to its top but keeps the length, which would draw a span above the plot too far down.
void Span(CDib& surface, int x, int yTop, int yBottom, uint16_t colour) {
    const int top = std::max(yTop, kPlotTop);
    const int bottom = std::min(yBottom, Bottom() - 1);
    if (top <= bottom)
        surface.VLineClipped(x, top, bottom - top + 1, colour, kPlotLeft, kPlotTop, Right(),
                             Bottom());
}

void Crosshair(CDib& surface, int x, int y) {
    Segment(surface, kPlotLeft, y, Right(), y, kWhite);
    Span(surface, x, kPlotTop, Bottom(), kWhite);
}

struct Cursor {
    bool active;
    int x;
    int y;
};

void DrawLinearTrace(CDib& surface, const Scale& scale, int t, const Cursor& cursor,
                     bool cursorTrace) {
    const double pixelsPerBin = plotWidth * zoom / binCount;
    const uint16_t colour = traceColour[t];
    int prevX = 0;
    int prevY = 0;
    int x = kPlotLeft;
    int32_t colStartBin = 0;
    Extremes column;
    for (int32_t k = 0; firstBin + k < binCount; ++k) {
        const int xNext = static_cast<int>(k * pixelsPerBin + kPlotLeft);
        if (xNext != x) {
            const int y = scale.Y(column.Chosen());
            if (cursorTrace && cursor.active && prevX < cursor.x && cursor.x <= x) {
                const int32_t b = firstBin + colStartBin;
                DrawTransferCursorReadout(surface, kReadoutY, b * binWidthHz, phaseTrace[b],
                                          column.max);
                Crosshair(surface, x, y);
            }
            if (k - colStartBin > 1)
                Span(surface, x, scale.Y(column.max), scale.Y(column.min), colour);
            else
                Segment(surface, prevX, prevY, x, y, colour);
            prevX = x;
            prevY = y;
            x = xNext;
            colStartBin = k;
            column = Extremes();
        }
        column.Fold(scale.Value(t, firstBin + k));
        if (xNext > Right())
            break;
    }
}

void DrawLogTrace(CDib& surface, const Scale& scale, int t, const Cursor& cursor,
                  bool cursorTrace) {
    const uint16_t colour = traceColour[t];
    const float startHz = static_cast<float>(firstBin * binWidthHz);
    const double baseOct = 15.0 * LogPosition(startHz);
    const int nyquist = sampleRate / 2;
    int32_t prevBin = firstBin;
    double prevVal = scale.Value(t, firstBin);
    int prevX = kPlotLeft;
    int prevY = scale.Y(prevVal);
    double prevHz = startHz;
    for (int p = 0;; ++p) {
        if (p >= plotWidth)
            p = NextLogColumn(p, baseOct, prevBin, nyquist);
        const float f = LogColumnHz(p, baseOct);
        if (f > nyquist)
            break;
        const int32_t b = static_cast<int32_t>(f / binWidthHz);
        if (cursorTrace && cursor.active && p + kPlotLeft == cursor.x) {
            const int32_t at = b < binCount ? b : binCount - 1;
            const double difference = traces[0][at] - traces[1][at];
            if (scale.quantity == Quantity::kPhase)
                DrawTransferCursorReadout(surface, kReadoutY, prevHz, prevVal, difference);
            else
                DrawTransferCursorReadout(surface, kReadoutY, prevHz, phaseTrace[at], prevVal);
            Segment(surface, kPlotLeft, scale.Y(prevVal), Right(), scale.Y(prevVal), kWhite);
            Span(surface, prevX, kPlotTop, Bottom(), kWhite);
        }
        if (b != prevBin && b > firstBin) {
            Extremes span;
            for (int32_t j = prevBin + 1; j <= b && j < binCount; ++j)
                span.Fold(scale.Value(t, j));
            int x = p + kPlotLeft;
            if (x > Right() - 1)
                x = Right() - 1;
            const double v = span.Chosen();
            if (b - prevBin < 2) {
                Segment(surface, prevX, prevY, x, scale.Y(v), colour);
                prevY = scale.Y(v);
            } else {
                Span(surface, x, scale.Y(span.max), scale.Y(span.min), colour);
                prevY = scale.Y(span.min);
            }
            prevX = x;
            prevVal = v;
            prevHz = b * binWidthHz;
            prevBin = b;
            if (p >= plotWidth)
                break;
        }
    }
}

using TraceDrawer = void (*)(CDib&, const Scale&, int, const Cursor&, bool);

void DrawView(CDib& surface, const Scale& scale, bool logAxis, TraceDrawer draw) {
    Cursor cursor{};
    cursor.active = CursorActive(kPlotLeft, kPlotTop, plotWidth, plotHeight, &cursor.x, &cursor.y);
    if (!cursor.active)
        DrawTransferPeakReadout(surface, kReadoutY);
    // The grid drawn second wins where grid lines cross: the frequency grid on the linear
    // axis, the value grid on the logarithmic one.
    const LabelSet& labels = scale.quantity == Quantity::kPhase ? PhaseLabels() : TransferLabels();
    if (logAxis) {
        DrawLogFrequencyAxis(surface, kPlotLeft, Bottom(), plotWidth,
                             static_cast<float>(firstBin * binWidthHz), zoom);
        DrawValueAxis(surface, kPlotTop, Bottom(), kPlotLeft, Right(), labels, kAxisGrid);
    } else {
        DrawValueAxis(surface, kPlotTop, Bottom(), kPlotLeft, Right(), labels, kAxisGrid);
        DrawLinearFrequencyAxis(surface, kPlotLeft, Bottom(), plotWidth,
                                static_cast<int>(firstBin * binWidthHz), zoom);
    }
    surface.HLine(kPlotLeft, Bottom(), plotWidth, kWhite);
    surface.VLine(kPlotLeft, kPlotTop, plotHeight, kWhite);
    // The window may lie beyond the spectrum after a change of FFT size: nothing to draw then.
    if (firstBin >= binCount)
        return;
    const int cursorTrace = CursorTrace();
    for (int t = kTraceCount - 1; t >= LowestDrawnTrace(); --t) {
        if (t != 1 && traceVisible[t])
            draw(surface, scale, t, cursor, t == cursorTrace);
    }
}

} // namespace

void DrawTransferLinear(CDib& surface) {
    DrawView(surface, Scale{Quantity::kMagnitude}, false, DrawLinearTrace);
}

void DrawTransferLog(CDib& surface) {
    DrawView(surface, Scale{Quantity::kMagnitude}, true, DrawLogTrace);
}

void DrawPhaseLog(CDib& surface) {
    DrawView(surface, Scale{Quantity::kPhase}, true, DrawLogTrace);
}
