// Plot geometry, mappings and the shared view state. User-interface thread only.
#include "views/view_layout.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "state/alloc.h"
#include "state/state.h"
#include "views/band_view.h"
#include "views/readouts.h"
#include "views/zoom.h"

int32_t plotWidth = 200;
int32_t plotHeight = 100;
double zoom = 1.0;
int32_t firstBin = 0;
PeakHoldRecord* peakHoldTable = nullptr;
int32_t peakHoldCount = 0;

namespace {
// The band views keep one record per band; the finest band set has 128.
constexpr int32_t kMinPeakRecords = 128;
constexpr uint32_t kPeakHoldMs = 2000;
} // namespace

bool SetPlotSize(int32_t width, int32_t height) {
    plotWidth = width - 50;
    plotHeight = height - 90;
    const int32_t wanted = plotWidth + 1 > kMinPeakRecords ? plotWidth + 1 : kMinPeakRecords;
    if (wanted != peakHoldCount) {
        FreeArray(peakHoldTable);
        peakHoldCount = 0;
        peakHoldTable = AllocArray<PeakHoldRecord>(static_cast<size_t>(wanted));
        if (peakHoldTable == nullptr)
            return false;
        peakHoldCount = wanted;
    }
    ResetPeakHold();
    return true;
}

void ResetZoom() {
    zoom = 1.0;
    firstBin = 0;
}

void ResetViewState() {
    ResetZoom();
    dragActive = 0;
    dragStartX = 0;
    dragEndX = 0;
    peakReadoutHold = PeakReadoutHold();
    transferReadoutHold = TransferReadoutHold();
    splHold = SplHold();
}

void ResetPeakHold() {
    for (int32_t i = 0; i < peakHoldCount; ++i) {
        peakHoldTable[i].valueDb = static_cast<float>(floorDb);
        peakHoldTable[i].timeMs = 0;
    }
}

void ApplyPeakHold(PeakHoldRecord& record, float v, uint32_t now) {
    if (v >= record.valueDb || (!peakHoldInfinite && now - record.timeMs > kPeakHoldMs)) {
        record.valueDb = v;
        record.timeMs = now;
    }
}

double LogPosition(double v) {
    if (v == 0.0)
        return 0.0;
    double lo = 0.0;
    double hi = 15.0;
    do {
        const double mid = lo + (hi - lo) * 0.5;
        const double p = std::pow(2.0, mid);
        if (p >= v)
            hi = mid;
        if (p <= v)
            lo = mid;
    } while (std::fabs(lo - hi) >= 0.001);
    return lo / 15.0;
}

float LogColumnHz(int p, double baseOctave) {
    const float e = static_cast<float>(15.0 * p / plotWidth / zoom);
    return e + baseOctave == 0.0 ? 0.0f : static_cast<float>(std::pow(2.0, e + baseOctave));
}

int NextLogColumn(int p, double baseOctave, int32_t bin, int limitHz) {
    // The column frequencies never fall, so the columns that pass form one run to the right.
    const auto passes = [&](int q) {
        const float f = LogColumnHz(q, baseOctave);
        return f > limitHz || static_cast<int32_t>(f / binWidthHz) > bin;
    };
    if (passes(p))
        return p;
    int before = p;
    int step = 1;
    while (!passes(p + step)) {
        before = p + step;
        step *= 2;
    }
    int after = p + step;
    while (after - before > 1) {
        const int mid = before + (after - before) / 2;
        if (passes(mid))
            after = mid;
        else
            before = mid;
    }
    return after;
}

const char* FormatFrequencyLabel(int hz) {
    static char text[32];
    if (hz < 1000) {
        std::snprintf(text, sizeof text, "%d", hz);
        return text;
    }
    std::snprintf(text, sizeof text, "%0.2f", hz * 0.001);
    size_t n = std::strlen(text);
    while (n > 0 && text[n - 1] == '0')
        text[--n] = '\0';
    if (n > 0 && text[n - 1] == '.')
        text[--n] = '\0';
    text[n] = 'K';
    text[n + 1] = '\0';
    return text;
}

int SpectrumY(double db, int top, int height) {
    return static_cast<int>(top - height * db * 0.01);
}

int TransferY(double db) {
    return static_cast<int>(kPlotTop + plotHeight / 2 - db * plotHeight / (100.0 * verticalScale));
}

int PhaseY(double degrees) {
    return static_cast<int>(kPlotTop + plotHeight / 2 -
                            degrees * plotHeight / (180.0 * verticalScale));
}

int WaveformY(int sample) {
    double offset = 50.0 * sample / 32768.0;
    if (offset < -50.0)
        offset = -50.0;
    if (offset > 50.0)
        offset = 50.0;
    return static_cast<int>(kPlotTop + plotHeight / 2 + offset);
}
