// Phase difference of the transfer analysis, with an arc tangent fast enough for two 32768-point
// spectra per frame. User-interface thread only.
#include "analysis/phase.h"

#include <cmath>

#include "analysis/analysis_setup.h"
#include "analysis/trace_processing.h"
#include "app/state.h"

namespace {

const double kPi = 3.14159265358979323846;
const double kDegreesPerRadian = 180.0 / kPi;

// atan(z) for |z| <= tan(pi/8) by its series to z^23: the first term left out is below 1.2e-11.
double AtanSeries(double z) {
    const double z2 = z * z;
    double sum = 1.0 / 23.0;
    for (int k = 21; k >= 1; k -= 2)
        sum = 1.0 / k - z2 * sum;
    return z * sum;
}

// Full-quadrant arc tangent of y / x to about 1e-11 rad, for x and y not both 0. The C library's
// atan2 is correctly rounded but several times slower, and the phase needs float accuracy.
double Atan2(double y, double x) {
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    const bool steep = ay > ax;
    const double t = steep ? ax / ay : ay / ax; // 0..1
    const double tanEighth = 0.41421356237309503;
    double a = t > tanEighth ? kPi / 4.0 + AtanSeries((t - 1.0) / (t + 1.0)) : AtanSeries(t);
    if (steep)
        a = kPi / 2.0 - a;
    if (x < 0.0)
        a = kPi - a;
    return y < 0.0 ? -a : a;
}

} // namespace

double PhaseDegrees(double re, double im) {
    if (im == 0.0)
        return 0.0;
    if (re == 0.0)
        return im > 0.0 ? -90.0 : 90.0;
    return -Atan2(im, re) * kDegreesPerRadian;
}

void UpdatePhase() {
    const int32_t last = binCount - 1;
    const float* x1 = fftBuffers[0];
    const float* x2 = fftBuffers[1];
    double oldWeight = 0.0, newWeight = 1.0;
    const bool averaged = AveragingWeights(averaging, oldWeight, newWeight);
    for (int32_t i = 0; i <= last; ++i) {
        double d = 0.0;
        // The packed pairs of DC ([0], [1]) and of the last bin (past the array) hold no
        // imaginary parts: both are real, with phase 0.
        if (i != 0 && i != last) {
            d = PhaseDegrees(x1[2 * i], x1[2 * i + 1]) - PhaseDegrees(x2[2 * i], x2[2 * i + 1]);
            if (d < -180.0)
                d += 360.0;
            if (d > 180.0)
                d -= 360.0;
        }
        if (averaged)
            d = phaseTrace[i] * oldWeight + d * newWeight;
        phaseTrace[i] = static_cast<float>(d);
    }
    if (smoothingBins != 0)
        SmoothBins(phaseTrace, binCount, smoothingBins);
}
