// Drawing of the band views and of the SPL reading. User-interface thread only.
#include "views/band_view.h"

#include <cstdio>

#include "analysis/analysis_setup.h"
#include "analysis/bands.h"
#include "analysis/level_sum.h"
#include "gfx/dib.h"
#include "port/port.h"
#include "state/state.h"
#include "views/axes.h"
#include "views/fonts.h"
#include "views/readouts.h"
#include "views/spectrum_view.h"
#include "views/view_layout.h"

SplHold splHold;

namespace {

constexpr int kMaxBands = 128;
constexpr uint32_t kSplHoldMs = 1000;
const uint16_t kSplColour = MakeColor(0, 255, 0);

// Per band and trace: the level in dB, rebuilt on every drawing.
double bandLevel[kTraceCount][kMaxBands];

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

void DrawSplReading(CDib& surface, int n, uint32_t now) {
    const float reading = SplReading(bandLevel[0], n);
    if (reading > splHold.reading || now - splHold.time > kSplHoldMs) {
        splHold.reading = reading;
        splHold.time = now;
    }
    char text[64];
    FormatSplText(text, sizeof text, splHold.reading, weighting);
    largeFont.DrawText(surface, -1, 49, text, kSplColour, BLIT_KEYED);
    std::snprintf(text, sizeof text, "Calibration Level: %0.0fdB", splCalibrationDb);
    smallFont.DrawText(surface, -1, 75, text, kSplColour, BLIT_KEYED);
}

} // namespace

int BandsBelowNyquist(const BandTable& table) {
    const int nyquist = sampleRate / 2;
    for (int j = 0; j < table.count; ++j) {
        if (table.rows[j].upper >= nyquist)
            return j + 1;
    }
    return table.count;
}

void SumBands(const BandTable& table, int n, const float* trace, double* levels, bool* measured) {
    LevelSum sums[kMaxBands];
    for (int j = 0; j < n; ++j) {
        ResetLevelSum(sums[j]);
        measured[j] = false;
        levels[j] = floorDb;
    }
    // Each bin's frequency is worked out afresh: summed up bin by bin in single precision it
    // drifts by more than a bin at N = 32768 and moves bins across band edges. The search never
    // goes back below the band of the previous bin: bins ascend.
    int j0 = 0;
    for (int32_t b = 0; b < binCount; ++b) {
        const double f = b * binWidthHz;
        for (int j = j0; j < n; ++j) {
            if (table.rows[j].lower <= f && f < table.rows[j].upper) {
                AddLevel(sums[j], trace[b]);
                measured[j] = true;
                j0 = j;
                break;
            }
        }
    }
    for (int j = 0; j < n; ++j) {
        if (measured[j])
            levels[j] = LevelSumDb(sums[j]);
    }
}

void GatherBands(const BandTable& table, int n, const float* trace, double* levels) {
    bool known[kMaxBands];
    SumBands(table, n, trace, levels, known);
    // Bands narrower than a bin: the mean of the nearest known neighbours (band 0 and band
    // n - 1 themselves where there is none). A filled band counts for the bands after it, so a
    // run of empty bands climbs in halving steps towards its right neighbour.
    for (int j = 0; j < n; ++j) {
        if (known[j])
            continue;
        int left = 0;
        for (int k = j - 1; k >= 0; --k) {
            if (known[k]) {
                left = k;
                break;
            }
        }
        int right = n - 1;
        for (int k = j + 1; k < n; ++k) {
            if (known[k]) {
                right = k;
                break;
            }
        }
        levels[j] = (levels[left] + levels[right]) * 0.5;
        known[j] = true;
    }
}

float SplReading(const double* levels, int n) {
    LevelSum sum;
    ResetLevelSum(sum);
    for (int j = 0; j < n; ++j)
        AddLevel(sum, levels[j]);
    return static_cast<float>(LevelSumDb(sum) + splCalibrationDb);
}

const char* SplUnit(int32_t weighting) {
    static const char* const kUnits[kWeightingCount] = {"dB", "dBA", "dBC", "dBU", "dBN"};
    return weighting >= 0 && weighting < kWeightingCount ? kUnits[weighting] : "dB";
}

void FormatSplText(char* text, std::size_t size, float reading, int32_t weighting) {
    std::snprintf(text, size, "SPL: %0.1f%s", reading, SplUnit(weighting));
}

int32_t BandSetOfMode(int32_t mode) {
    if (mode == kModeSpl)
        return kModeOctave;
    return BandsFor(mode).count > 0 ? mode : 0;
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
    // Channel 1's bands also feed the SPL reading.
    for (int t = 0; t < kTraceCount; ++t) {
        if (traceVisible[t] || (t == 0 && splMode))
            GatherBands(table, n, traces[t], bandLevel[t]);
    }

    const uint32_t now = port::TickCount();
    const int cursorTrace = CursorTrace();
    for (int t = kTraceCount - 1; t >= LowestDrawnTrace(); --t) {
        if (!traceVisible[t])
            continue;
        for (int j = 0; j < n; ++j) {
            float v = static_cast<float>(bandLevel[t][j]);
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
