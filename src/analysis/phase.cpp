// Phase difference of the transfer analysis, four bins at a time: two arc tangents per bin of two
// 32768-point spectra would otherwise cost more than the rest of the analysis. User-interface
// thread only.
#include "analysis/phase.h"

#include "analysis/analysis_setup.h"
#include "analysis/float4.h"
#include "analysis/trace_processing.h"
#include "state/state.h"

namespace {

// tan(j pi / 16) for j = 1 .. 4, and the tangents of the angles halfway between, j = 0 .. 3.
const float kTangent[4] = {0.19891236737965800f, 0.41421356237309503f, 0.66817863791929890f, 1.0f};
const float kBoundary[4] = {0.09849140335716425f, 0.30334668360734240f, 0.53451113595079160f,
                            0.82067879082866030f};
const float kDegreesPerRadian = 57.295779513082321f;

// The four phases of bins first .. first + 3 of a packed spectrum, with the imaginary parts of DC
// (in the pair of bin 0, [1] holds the last bin's real part) and of the last bin (whose pair
// lies past the array) taken as 0, and bins past the last one as 0.
void PhasesAt(const float* spectrum, int32_t first, int32_t last, float* degrees) {
    if (first >= 1 && first + 3 < last) {
        PhaseDegrees4(spectrum + 2 * first, degrees);
        return;
    }
    float pairs[8] = {};
    for (int32_t k = 0; k < 4; ++k) {
        const int32_t bin = first + k;
        if (bin > 0 && bin < last) {
            pairs[2 * k] = spectrum[2 * bin];
            pairs[2 * k + 1] = spectrum[2 * bin + 1];
        }
    }
    PhaseDegrees4(pairs, degrees);
}

} // namespace

// The smaller magnitude over the larger, t in 0..1, is taken to the nearest of the angles
// j pi / 16 by atan(t) = j pi / 16 + atan(z), z = (t - c) / (1 + t c), c = tan(j pi / 16), which
// leaves |z| <= tan(pi / 32) for the series z - z^3/3 + z^5/5 - z^7/7 (next term below 1e-10).
// The octant is then folded back by selects, which suit bins that fall in every octant at random.
void PhaseDegrees4(const float* pairs, float* degrees) {
    Float4 re, im;
    LoadComplex(pairs, re, im);
    const Float4 zero = Splat(0.0f);
    const Float4 ax = Abs(re);
    const Float4 ay = Abs(im);
    const Float4 big = Max(ax, ay);
    const Float4 small = Min(ax, ay);
    Float4 c = zero;
    Float4 base = zero;
    for (int j = 0; j < 4; ++j) {
        const Mask4 above = small > Splat(kBoundary[j]) * big;
        c = Select(above, Splat(kTangent[j]), c);
        base = Select(above, Splat(11.25f * (j + 1)), base);
    }
    const Float4 z = (small - c * big) / (big + c * small);
    const Float4 z2 = z * z;
    const Float4 series =
        z * (Splat(1.0f) - z2 * (Splat(1.0f / 3) - z2 * (Splat(1.0f / 5) - z2 * Splat(1.0f / 7))));
    Float4 a = base + series * Splat(kDegreesPerRadian);
    a = Select(ay > ax, Splat(90.0f) - a, a);
    a = Select(re < zero, Splat(180.0f) - a, a);
    a = Select(im < zero, zero - a, a);
    Store(degrees, Select(im == zero, zero, zero - a));
}

void UpdatePhase() {
    const int32_t last = binCount - 1;
    double oldWeight = 0.0, newWeight = 1.0;
    const bool averaged = AveragingWeights(averaging, oldWeight, newWeight);
    for (int32_t first = 0; first <= last; first += 4) {
        float phase1[4], phase2[4], wrapped[4];
        PhasesAt(fftBuffers[0], first, last, phase1);
        PhasesAt(fftBuffers[1], first, last, phase2);
        // Wrapped by selects: on noise the two tests go either way at random. A difference of
        // exactly -180 or +180 stays as it is.
        Float4 d = Load(phase1) - Load(phase2);
        d = Select(d < Splat(-180.0f), d + Splat(360.0f), d);
        d = Select(d > Splat(180.0f), d - Splat(360.0f), d);
        Store(wrapped, d);
        for (int32_t k = 0; k < 4 && first + k <= last; ++k) {
            const int32_t i = first + k;
            double v = wrapped[k];
            if (averaged)
                v = phaseTrace[i] * oldWeight + v * newWeight;
            phaseTrace[i] = static_cast<float>(v);
        }
    }
    if (smoothingBins != 0)
        SmoothBins(phaseTrace, binCount, smoothingBins);
}
