// Radix-2 FFTs over tables of exact twiddles and bit reversals. Any thread: the tables are built
// once, thread-safely, on first use and only read afterwards; nothing is allocated on the heap.
#include "analysis/fft.h"

#include <cmath>
#include <utility>

#include "analysis/float4.h"

namespace {

constexpr int kMaxBits = 15;
static_assert(kFftMaxSize == 1 << kMaxBits, "the tables cover exactly the largest size");

// The twiddles of the stage with half-block h are e^(+i pi u / h) for u = 0 .. h - 1, stored at
// [h + u]: each one the exact value rounded once to float, where a running recurrence would
// carry its rounding along the stage. The real-input split uses the stage of half-block n / 2.
struct FftTables {
    float cosine[kFftMaxSize];
    float sine[kFftMaxSize];
    uint16_t reversed[kFftMaxSize]; // each index with its kMaxBits bits in reverse order

    FftTables() {
        const double pi = 3.14159265358979323846;
        cosine[0] = 1.0f;
        sine[0] = 0.0f;
        for (int32_t h = 1; h < kFftMaxSize; h *= 2) {
            for (int32_t u = 0; u < h; ++u) {
                cosine[h + u] = static_cast<float>(std::cos(pi * u / h));
                sine[h + u] = static_cast<float>(std::sin(pi * u / h));
            }
        }
        for (int32_t q = 0; q < kFftMaxSize; ++q) {
            int32_t r = 0;
            for (int b = 0; b < kMaxBits; ++b)
                r |= ((q >> b) & 1) << (kMaxBits - 1 - b);
            reversed[q] = static_cast<uint16_t>(r);
        }
    }
};

const FftTables& Tables() {
    static const FftTables tables;
    return tables;
}

bool IsPowerOfTwo(int32_t n) {
    return n > 0 && (n & (n - 1)) == 0;
}

int Log2(int32_t n) {
    int bits = 0;
    while ((1 << bits) < n)
        ++bits;
    return bits;
}

// Swaps every complex value with the one at its bit-reversed index. An index is split into a
// top part a, at most one middle bit and a bottom part c, both parts with the same number of
// bits; its reversal is (rev c, middle, rev a), which is larger exactly when a < rev c. Walking
// only those a visits each pair once with no test on the way (the obvious walk over every index
// with an unpredictable q < r test spends more time mispredicting than moving data).
void BitReverse(float* x, int32_t n, const FftTables& t) {
    const int bits = Log2(n);
    const int low = bits / 2;
    const int middle = bits - 2 * low;
    const int shift = kMaxBits - low;
    for (int32_t c = 0; c < (1 << low); ++c) {
        const int32_t rc = t.reversed[c] >> shift;
        for (int32_t m = 0; m <= middle; ++m) {
            const int32_t mid = m << low;
            for (int32_t a = 0; a < rc; ++a) {
                const int32_t q = (a << (low + middle)) | mid | c;
                const int32_t r = (rc << (low + middle)) | mid | (t.reversed[a] >> shift);
                std::swap(x[2 * q], x[2 * r]);
                std::swap(x[2 * q + 1], x[2 * r + 1]);
            }
        }
    }
}

// One butterfly stage: in every block of 2h values, value u and value u + h become
// p + w t and p - w t with the stage's twiddle w of offset u (conjugated for direction -1).
// h is a multiple of 4.
template <int D> void Stage(float* x, int32_t n, int32_t h, const FftTables& t) {
    const float* wc = t.cosine + h;
    const float* ws = t.sine + h;
    const Float4 d = Splat(static_cast<float>(D));
    for (int32_t k = 0; k < n; k += 2 * h) {
        float* p = x + 2 * k;
        float* q = p + 2 * h;
        for (int32_t u = 0; u < h; u += 4) {
            const Float4 wr = Load(wc + u), wi = d * Load(ws + u);
            Float4 pr, pi, qr, qi;
            LoadComplex(p + 2 * u, pr, pi);
            LoadComplex(q + 2 * u, qr, qi);
            const Float4 tr = wr * qr - wi * qi;
            const Float4 ti = wr * qi + wi * qr;
            StoreComplex(p + 2 * u, pr + tr, pi + ti);
            StoreComplex(q + 2 * u, pr - tr, pi - ti);
        }
    }
}

// The first two stages (blocks of 2 and 4), whose twiddles are 1 and d * i, in one sweep.
template <int D> void FirstStages(float* x, int32_t n) {
    for (int32_t k = 0; k < 2 * n; k += 8) {
        float* v = x + k;
        const float b0r = v[0] + v[2], b0i = v[1] + v[3];
        const float b1r = v[0] - v[2], b1i = v[1] - v[3];
        const float b2r = v[4] + v[6], b2i = v[5] + v[7];
        const float b3r = v[4] - v[6], b3i = v[5] - v[7];
        const float tr = -D * b3i, ti = D * b3r;
        v[0] = b0r + b2r;
        v[1] = b0i + b2i;
        v[4] = b0r - b2r;
        v[5] = b0i - b2i;
        v[2] = b1r + tr;
        v[3] = b1i + ti;
        v[6] = b1r - tr;
        v[7] = b1i - ti;
    }
}

// Two stages (half-blocks h and 2h) in one sweep over the data: the same butterflies as two
// calls of Stage, with half the memory traffic. h is a multiple of 4.
template <int D> void DoubleStage(float* x, int32_t n, int32_t h, const FftTables& t) {
    const float* c1 = t.cosine + h;
    const float* s1 = t.sine + h;
    const float* c2 = t.cosine + 2 * h;
    const float* s2 = t.sine + 2 * h;
    const Float4 d = Splat(static_cast<float>(D));
    for (int32_t k = 0; k < n; k += 4 * h) {
        float* x0 = x + 2 * k;
        float* x1 = x0 + 2 * h;
        float* x2 = x1 + 2 * h;
        float* x3 = x2 + 2 * h;
        for (int32_t u = 0; u < h; u += 4) {
            const Float4 w1r = Load(c1 + u), w1i = d * Load(s1 + u);
            const Float4 w2r = Load(c2 + u), w2i = d * Load(s2 + u);
            const Float4 w3r = Load(c2 + u + h), w3i = d * Load(s2 + u + h);
            Float4 a0r, a0i, a1r, a1i, a2r, a2i, a3r, a3i;
            LoadComplex(x0 + 2 * u, a0r, a0i);
            LoadComplex(x1 + 2 * u, a1r, a1i);
            LoadComplex(x2 + 2 * u, a2r, a2i);
            LoadComplex(x3 + 2 * u, a3r, a3i);

            Float4 tr = w1r * a1r - w1i * a1i;
            Float4 ti = w1r * a1i + w1i * a1r;
            const Float4 b0r = a0r + tr, b0i = a0i + ti;
            const Float4 b1r = a0r - tr, b1i = a0i - ti;
            tr = w1r * a3r - w1i * a3i;
            ti = w1r * a3i + w1i * a3r;
            const Float4 b2r = a2r + tr, b2i = a2i + ti;
            const Float4 b3r = a2r - tr, b3i = a2i - ti;

            tr = w2r * b2r - w2i * b2i;
            ti = w2r * b2i + w2i * b2r;
            StoreComplex(x0 + 2 * u, b0r + tr, b0i + ti);
            StoreComplex(x2 + 2 * u, b0r - tr, b0i - ti);
            tr = w3r * b3r - w3i * b3i;
            ti = w3r * b3i + w3i * b3r;
            StoreComplex(x1 + 2 * u, b1r + tr, b1i + ti);
            StoreComplex(x3 + 2 * u, b1r - tr, b1i - ti);
        }
    }
}

// The complex transform without its 1/sqrt(n) scaling.
template <int D> void Transform(float* x, int32_t n) {
    const FftTables& t = Tables();
    BitReverse(x, n, t);
    if (n < 4) {
        if (n == 2) {
            const float r0 = x[0], i0 = x[1];
            x[0] = r0 + x[2];
            x[1] = i0 + x[3];
            x[2] = r0 - x[2];
            x[3] = i0 - x[3];
        }
        return;
    }
    FirstStages<D>(x, n);
    int32_t h = 4;
    for (; 4 * h <= n; h *= 4)
        DoubleStage<D>(x, n, h, t);
    if (2 * h <= n)
        Stage<D>(x, n, h, t);
}

// Separates (forward) or recombines (inverse) the spectra of the even and odd samples that the
// half-size complex transform holds, for the bin pairs k and n/2 - k with 0 < k < n/4.
template <int D> void SplitPairs(float* x, int32_t n, float c1, float c2) {
    const FftTables& t = Tables();
    const float* wc = t.cosine + n / 2;
    const float* ws = t.sine + n / 2;
    for (int32_t i = 1; i < n / 4; ++i) {
        const int32_t i1 = 2 * i, i2 = 2 * i + 1, i3 = n - 2 * i, i4 = n - 2 * i + 1;
        const float wr = wc[i], wi = D * ws[i];
        const float h1r = c1 * (x[i1] + x[i3]);
        const float h1i = c1 * (x[i2] - x[i4]);
        const float h2r = -c2 * (x[i2] + x[i4]);
        const float h2i = c2 * (x[i1] - x[i3]);
        x[i1] = h1r + wr * h2r - wi * h2i;
        x[i2] = h1i + wr * h2i + wi * h2r;
        x[i3] = h1r - wr * h2r + wi * h2i;
        x[i4] = -h1i + wr * h2i + wi * h2r;
    }
}

} // namespace

bool ComplexFft(float* data, int32_t n, int direction) {
    if (!IsPowerOfTwo(n) || n > kFftMaxSize || (direction != 1 && direction != -1))
        return false;
    if (direction == 1)
        Transform<1>(data, n);
    else
        Transform<-1>(data, n);
    const float scale = static_cast<float>(1.0 / std::sqrt(static_cast<double>(n)));
    for (int32_t i = 0; i < 2 * n; ++i)
        data[i] *= scale;
    return true;
}

// The scalings of the complex transform (1/sqrt(n/2)) and of the split (1/sqrt(2) forward,
// sqrt(2) inverse) are folded into the split's constants: one pass over the data instead of three.
bool RealFft(float* data, int32_t n, int direction) {
    if (!IsPowerOfTwo(n) || n < 2 || n > kFftMaxSize || (direction != 1 && direction != -1))
        return false;
    const double root = std::sqrt(static_cast<double>(n));
    const int32_t middle = n / 2; // bin n/4, which the split leaves as it is
    if (direction == 1) {
        const float s = static_cast<float>(1.0 / root);
        Transform<1>(data, n / 2);
        SplitPairs<1>(data, n, 0.5f * s, -0.5f * s);
        if (n >= 4) {
            data[middle] *= s;
            data[middle + 1] *= s;
        }
        const float d0 = data[0];
        data[0] = (d0 + data[1]) * s;
        data[1] = (d0 - data[1]) * s;
    } else {
        const float s = static_cast<float>(2.0 / root);
        SplitPairs<-1>(data, n, 0.5f * s, 0.5f * s);
        if (n >= 4) {
            data[middle] *= s;
            data[middle + 1] *= s;
        }
        const float d0 = data[0];
        data[0] = 0.5f * s * (d0 + data[1]);
        data[1] = 0.5f * s * (d0 - data[1]);
        Transform<-1>(data, n / 2);
    }
    return true;
}
