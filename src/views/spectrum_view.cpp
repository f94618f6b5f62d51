// Drawing of the linear and logarithmic spectrum views and the waveform view.
// User-interface thread only.
#include "views/spectrum_view.h"

#include <cmath>

#include "analysis/analysis_setup.h"
#include "gfx/dib.h"
#include "port/port.h"
#include "state/state.h"
#include "views/axes.h"
#include "views/readouts.h"
#include "views/view_layout.h"

namespace {

int Y(double db) {
    return SpectrumY(db, kPlotTop, plotHeight);
}

double AtLeastFloor(double v) {
    return v > floorDb ? v : floorDb;
}

void DrawPlotEdges(CDib& surface) {
    surface.HLine(kPlotLeft, kPlotTop + plotHeight, plotWidth, kWhite);
    surface.VLine(kPlotLeft, kPlotTop, plotHeight, kWhite);
}

void DrawCrosshair(CDib& surface, int x, int y) {
    surface.VLine(x, kPlotTop, plotHeight, kWhite);
    surface.HLine(kPlotLeft, y, plotWidth, kWhite);
}

struct Cursor {
    bool active;
    int x;
    int y;
};

Cursor TestCursor() {
    Cursor c{};
    c.active = CursorActive(kPlotLeft, kPlotTop, plotWidth, plotHeight, &c.x, &c.y);
    return c;
}

void DrawLinearTrace(CDib& surface, int t, const Cursor& cursor, bool cursorTrace, uint32_t now) {
    const double pixelsPerBin = plotWidth * zoom / binCount;
    const float* trace = traces[t];
    const bool peaks = t == 0 && peakTraceOn;
    int prevX = 0;
    int prevY = 0;
    double colMax = floorDb;
    int col = 0;
    int x = kPlotLeft;
    int32_t colStartBin = 0;
    for (int32_t k = 0; firstBin + k < binCount; ++k) {
        const int xNext = static_cast<int>(k * pixelsPerBin + kPlotLeft);
        if (xNext != x) {
            const int y = Y(colMax);
            if (peaks && col <= plotWidth && col < peakHoldCount) {
                ApplyPeakHold(peakHoldTable[col], static_cast<float>(colMax), now);
                if (col > 0)
                    surface.Line(static_cast<float>(prevX), Y(peakHoldTable[col - 1].valueDb),
                                 static_cast<float>(x), Y(peakHoldTable[col].valueDb), kPeakColour);
                ++col;
            }
            if (cursorTrace && cursor.active && prevX < cursor.x && cursor.x <= x) {
                DrawCursorReadout(surface, kReadoutY, (firstBin + colStartBin) * binWidthHz,
                                  colMax);
                DrawCrosshair(surface, x, y);
            }
            if (prevX != 0 && prevY != 0)
                surface.Line(static_cast<float>(prevX), static_cast<float>(prevY),
                             static_cast<float>(x), static_cast<float>(y), traceColour[t]);
            prevX = x;
            prevY = y;
            x = xNext;
            colStartBin = k;
            colMax = floorDb;
        }
        if (trace[firstBin + k] > colMax)
            colMax = trace[firstBin + k];
        if (xNext > kPlotLeft + plotWidth)
            break;
    }
}

void DrawLogTrace(CDib& surface, int t, const Cursor& cursor, bool cursorTrace, uint32_t now) {
    const float* trace = traces[t];
    const float startHz = static_cast<float>(firstBin * binWidthHz);
    const double baseOct = 15.0 * LogPosition(startHz);
    const int nyquist = sampleRate / 2;
    int32_t prevBin = firstBin;
    double prevVal = AtLeastFloor(trace[firstBin]);
    int prevX = kPlotLeft;
    int prevY = Y(prevVal);
    double prevHz = startHz;
    // Record 0 never holds: every drawn trace restarts it at the first bin, at the floor at
    // least, so that the peak trace stays inside the plot like the traces.
    if (peakHoldCount > 0) {
        double first = traces[0][firstBin];
        if (liveChannelCount == 2 && traces[1][firstBin] > first)
            first = traces[1][firstBin];
        peakHoldTable[0] = {now, static_cast<float>(AtLeastFloor(first))};
    }
    int col = 1;
    const bool peaks = t == 0 && peakTraceOn;
    for (int p = 0;; ++p) {
        if (p >= plotWidth)
            p = NextLogColumn(p, baseOct, prevBin, nyquist);
        const float f = LogColumnHz(p, baseOct);
        if (f > nyquist)
            break;
        if (cursorTrace && cursor.active && p + kPlotLeft == cursor.x) {
            DrawCursorReadout(surface, kReadoutY, prevHz, prevVal);
            surface.HLine(kPlotLeft, Y(prevVal), plotWidth, kWhite);
            surface.VLine(prevX, kPlotTop, plotHeight, kWhite);
        }
        const int32_t b = static_cast<int32_t>(f / binWidthHz);
        if (b > firstBin && b != prevBin) {
            double v = floorDb;
            for (int32_t j = prevBin + 1; j <= b && j < binCount; ++j) {
                if (trace[j] > v)
                    v = trace[j];
            }
            v = AtLeastFloor(v);
            int x = p + kPlotLeft;
            if (x > kPlotLeft + plotWidth - 1)
                x = kPlotLeft + plotWidth - 1;
            const int y = Y(v);
            if (peaks && col <= plotWidth && col < peakHoldCount) {
                ApplyPeakHold(peakHoldTable[col], static_cast<float>(v), now);
                surface.Line(static_cast<float>(prevX), Y(peakHoldTable[col - 1].valueDb),
                             static_cast<float>(x), Y(peakHoldTable[col].valueDb), kPeakColour);
                ++col;
            }
            surface.Line(static_cast<float>(prevX), static_cast<float>(prevY),
                         static_cast<float>(x), static_cast<float>(y), traceColour[t]);
            prevX = x;
            prevY = y;
            prevVal = v;
            prevHz = b * binWidthHz;
            prevBin = b;
            if (p >= plotWidth)
                break;
        }
    }
}

using TraceDrawer = void (*)(CDib&, int, const Cursor&, bool, uint32_t);

void DrawTraces(CDib& surface, const Cursor& cursor, TraceDrawer draw) {
    // The window may lie beyond the spectrum after a change of FFT size: nothing to draw then.
    if (firstBin >= binCount)
        return;
    const uint32_t now = port::TickCount();
    const int cursorTrace = CursorTrace();
    for (int t = kTraceCount - 1; t >= LowestDrawnTrace(); --t) {
        if (traceVisible[t])
            draw(surface, t, cursor, t == cursorTrace, now);
    }
}

} // namespace

int LowestDrawnTrace() {
    return liveTracesShown ? 0 : 2;
}

int CursorTrace() {
    for (int t = LowestDrawnTrace(); t < kTraceCount; ++t) {
        if (traceVisible[t])
            return t;
    }
    return -1;
}

void DrawSpectrumLinear(CDib& surface) {
    const Cursor cursor = TestCursor();
    if (!cursor.active)
        DrawPeakReadout(surface, kReadoutY);
    DrawValueAxis(surface, kPlotTop, kPlotTop + plotHeight, kPlotLeft, kPlotLeft + plotWidth,
                  kDbLabels, kAxisGrid);
    DrawLinearFrequencyAxis(surface, kPlotLeft, kPlotTop + plotHeight, plotWidth,
                            static_cast<int>(firstBin * binWidthHz), zoom);
    DrawPlotEdges(surface);
    DrawTraces(surface, cursor, DrawLinearTrace);
}

void DrawSpectrumLog(CDib& surface) {
    const Cursor cursor = TestCursor();
    if (!cursor.active)
        DrawPeakReadout(surface, kReadoutY);
    DrawLogFrequencyAxis(surface, kPlotLeft, kPlotTop + plotHeight, plotWidth,
                         static_cast<float>(firstBin * binWidthHz), zoom);
    DrawValueAxis(surface, kPlotTop, kPlotTop + plotHeight, kPlotLeft, kPlotLeft + plotWidth,
                  kDbLabels, kAxisGrid);
    DrawPlotEdges(surface);
    DrawTraces(surface, cursor, DrawLogTrace);
}

void DrawWaveform(CDib& surface) {
    DrawPeakReadout(surface, kReadoutY);
    DrawValueAxis(surface, kPlotTop, kPlotTop + plotHeight, kPlotLeft, kPlotLeft + plotWidth,
                  kWaveformLabels, kAxisGrid);
    surface.VLine(kPlotLeft, kPlotTop, plotHeight, kWhite);
    surface.VLine(kPlotLeft + plotWidth, kPlotTop, plotHeight, kWhite);
    surface.HLine(kPlotLeft, kPlotTop, plotWidth, kWhite);
    surface.HLine(kPlotLeft, kPlotTop + plotHeight, plotWidth, kWhite);
    double span = sampleRate * 0.005;
    if (span > fftSize)
        span = fftSize;
    const uint16_t colours[kLiveChannelMax] = {MakeColor(0, 255, 0), MakeColor(0, 255, 255)};
    for (int c = 0; c < liveChannelCount; ++c) {
        float prevX = kPlotLeft;
        float prevY = static_cast<float>(kPlotTop + plotHeight / 2);
        for (int p = 0; p < plotWidth; ++p) {
            const int32_t n = static_cast<int32_t>(p * span / plotWidth);
            const float x = static_cast<float>(kPlotLeft + p);
            const float y = static_cast<float>(WaveformY(sampleWindow[2 * n + c]));
            surface.Line(prevX, prevY, x, y, colours[c]);
            prevX = x;
            prevY = y;
        }
    }
}
