// The weighting formulas and the per-bin weighting curve. User-interface thread only.
#include "analysis/weighting.h"

#include <cmath>

#include "analysis/analysis_setup.h"
#include "state/state.h"

double WeightingDb(float f, int32_t w) {
    if (f == 0.0f || w == kWeightingNone)
        return 0.0;
    const double hz = f;
    const double f2 = hz * hz;
    const double k = 148840000.0; // 12200^2
    double result = 0.0;
    double snap = 0.0;
    switch (w) {
    case kWeightingA: {
        const double r =
            k * f2 * f2 /
            (std::sqrt(f2 + 11599.29) * (f2 + 424.36) * (f2 + k) * std::sqrt(f2 + 544496.41));
        result = 20.0 * std::log10(1.2588966290833277 * r); // +2.0 dB: 1 kHz reads 0
        snap = 0.0001;
        break;
    }
    case kWeightingC: {
        const double r = k * f2 / ((f2 + k) * (f2 + 424.36));
        result = 20.0 * std::log10(1.0071458351410911 * r);
        snap = 0.0001;
        break;
    }
    case kWeightingU: {
        double r = k / (f2 + k);
        r /= std::sqrt((hz + 8800.0) * (hz + 8800.0) + 61622500.0) *
             std::sqrt((hz - 8800.0) * (hz - 8800.0) + 61622500.0);
        r /= std::sqrt((hz + 12150.0) * (hz + 12150.0) + 8410000.0) *
             std::sqrt((hz - 12150.0) * (hz - 12150.0) + 8410000.0);
        result = 20.0 * std::log10(2.1702028509043852e16 * r);
        snap = 0.1;
        break;
    }
    default:
        return 0.0;
    }
    return std::fabs(result) < snap ? 0.0 : result;
}

void BuildWeighting(int32_t w) {
    if (!AnalysisReady())
        return;
    weightingCurve[0] = static_cast<float>(WeightingDb(1.0f, w));
    for (int32_t i = 1; i < binCount; ++i)
        weightingCurve[i] = static_cast<float>(WeightingDb(static_cast<float>(i * binWidthHz), w));
}

void CaptureNoiseWeighting() {
    if (!AnalysisReady())
        return;
    for (int32_t i = 0; i < binCount; ++i) {
        double v = traces[0][i];
        if (v < -100.0)
            v = -100.0;
        weightingCurve[i] = static_cast<float>(-(100.0 + v) - 5.0);
    }
}
