// Drawing of the band views and of the SPL reading. User-interface thread only.
#include "views/band_view.h"

#include <cstdio>

#include "analysis/analysis_setup.h"
#include "analysis/bands.h"
#include "analysis/level_sum.h"
#include "app/fonts.h"
#include "app/state.h"
#include "gfx/dib.h"
#include "port/port.h"
#include "views/axes.h"
#include "views/readouts.h"
#include "views/spectrum_view.h"
#include "views/view_layout.h"

SplHold splHold = {0.0f, 0};

namespace {

constexpr int kMaxBands = 128;
constexpr uint32_t kSplHoldMs = 1000;
const uint16_t kWhite = MakeColor(255, 255, 255);
const uint16_t kPeakColour = MakeColor(128, 255, 255);
const uint16_t kSplColour = MakeColor(0, 255, 0);

enum BandStatus : uint8_t { kEmpty = 0, kMeasured = 1, kFilled = 2 };

// Per band and trace: level in dB and how it was found. Rebuilt on every drawing.
double bandLevel[kMaxBands][kTraceCount];
uint8_t bandStatus[kMaxBands][kTraceCount];

int LabelEvery(int32_t bandSet) {
    switch (bandSet) {
    case kModeThirdOctave:
        return 3;
    case kModeSixthOctave:
        return 6;
    case kModeTwelfthOctave:
        return 12;
    default:
        return 1;
    }
}

// Bands up to the first whose upper edge reaches half the sample rate.
int BandsBelowNyquist(const BandTable& table) {
    const int nyquist = sampleRate / 2;
    for (int j = 0; j < table.count; ++j) {
        if (table.rows[j].upper >= nyquist)
            return j + 1;
    }
    return table.count;
}

// Sums the bins of trace t into the n bands by power, then fills bands that no bin reached
// from their nearest non-empty neighbours.
void GatherBands(const BandTable& table, int n, int t) {
    LevelSum sums[kMaxBands];
    for (int j = 0; j < n; ++j) {
        ResetLevelSum(sums[j]);
        bandStatus[j][t] = kEmpty;
        bandLevel[j][t] = floorDb;
    }
    float f = 0.0f;
    int j0 = 0;
    for (int32_t b = 0; b < binCount; ++b, f += static_cast<float>(binWidthHz)) {
        for (int j = j0; j < n; ++j) {
            if (table.rows[j].lower <= f && f < table.rows[j].upper) {
                AddLevel(sums[j], traces[t][b]);
                bandStatus[j][t] = kMeasured;
                j0 = j;
                break;
            }
        }
    }
    for (int j = 0; j < n; ++j) {
        if (bandStatus[j][t] == kMeasured)
            bandLevel[j][t] = LevelSumDb(sums[j]);
    }
    for (int j = 0; j < n; ++j) {
        if (bandStatus[j][t] != kEmpty)
            continue;
        int left = 0;
        for (int k = j - 1; k >= 0; --k) {
            if (bandStatus[k][t] != kEmpty) {
                left = k;
                break;
            }
        }
        int right = n - 1;
        for (int k = j + 1; k < n; ++k) {
            if (bandStatus[k][t] != kEmpty) {
                right = k;
                break;
            }
        }
        bandLevel[j][t] = (bandLevel[left][t] + bandLevel[right][t]) * 0.5;
        bandStatus[j][t] = kFilled;
    }
}

void DrawSplReading(CDib& surface, int n, uint32_t now) {
    double levels[kMaxBands];
    for (int j = 0; j < n; ++j)
        levels[j] = bandLevel[j][0];
    const float reading = SplReading(levels, n);
    if (reading > splHold.reading || now - splHold.time > kSplHoldMs) {
        splHold.reading = reading;
        splHold.time = now;
    }
    static const char* const kUnits[] = {"dB", "dBA", "dBC", "dBU", "dBN"};
    const char* unit = weighting >= 1 && weighting <= 4 ? kUnits[weighting] : kUnits[0];
    char text[64];
    std::snprintf(text, sizeof text, "SPL: %0.1f%s", splHold.reading, unit);
    largeFont.DrawText(surface, -1, 49, text, kSplColour, BLIT_KEYED);
    std::snprintf(text, sizeof text, "Calibration Level: %0.0fdB", splCalibrationDb);
    smallFont.DrawText(surface, -1, 75, text, kSplColour, BLIT_KEYED);
}

} // namespace

float SplReading(const double* levels, int n) {
    LevelSum sum;
    ResetLevelSum(sum);
    for (int j = 0; j < n; ++j)
        AddLevel(sum, levels[j]);
    return static_cast<float>(LevelSumDb(sum) + splCalibrationDb);
}

void DrawBandView(CDib& surface, int32_t bandSet) {
    const int top = splMode ? kPlotTop + 20 : kPlotTop;
    const int height = splMode ? plotHeight - 20 : plotHeight;
    int mouseX = 0;
    int mouseY = 0;
    const bool cursor = CursorActive(kPlotLeft, top, plotWidth, height, &mouseX, &mouseY);
    if (!cursor)
        DrawPeakReadout(surface, kReadoutY);

    const BandTable table = BandsFor(bandSet);
    const int rows = table.count;
    const int barWidth = plotWidth / rows;
    const int right = kPlotLeft + rows * barWidth;
    DrawValueAxis(surface, top, top + height, kPlotLeft, right, kDbLabels, kAxisGrid);
    DrawCategoryAxis(surface, kPlotLeft, right, top + height, rows, LabelEvery(bandSet),
                     kAxisCentred, kBandLabels);
    surface.HLine(kPlotLeft, top + height, rows * barWidth, kWhite);
    surface.VLine(kPlotLeft, top, height, kWhite);

    const int n = BandsBelowNyquist(table);
    for (int t = 0; t < kTraceCount; ++t) {
        if (traceVisible[t])
            GatherBands(table, n, t);
    }

    const uint32_t now = port::TickCount();
    const int cursorTrace = CursorTrace();
    for (int t = kTraceCount - 1; t >= LowestDrawnTrace(); --t) {
        if (!traceVisible[t])
            continue;
        for (int j = 0; j < n; ++j) {
            float v = static_cast<float>(bandLevel[j][t]);
            if (v < floorDb)
                v = static_cast<float>(floorDb);
            const int x = kPlotLeft + j * barWidth;
            const int yTop = SpectrumY(v, top, height);
            if (t <= 1 && peakTraceOn && j < peakHoldCount) {
                ApplyPeakHold(peakHoldTable[j], v, now);
                const int yPeak = SpectrumY(peakHoldTable[j].valueDb, top, height);
                surface.FillRect(x + 1, yPeak - 2, x + barWidth - 1, yPeak, kPeakColour);
            }
            uint16_t colour = traceColour[t];
            if (cursor && t == cursorTrace && x <= mouseX && mouseX < x + barWidth) {
                DrawCursorReadout(surface, kReadoutY, table.rows[j].centre, v);
                colour = kWhite;
            }
            surface.FillRect(x + 1, yTop, x + barWidth - 1, top + height, colour);
        }
    }
    if (splMode)
        DrawSplReading(surface, n, now);
}
