// Four floats handled together, for the FFT butterflies and the phase: SSE registers on x86
// (baseline on every 64-bit x86), elsewhere plain arrays that the compiler vectorises as it can.
// Any thread.
#pragma once

#if defined(__SSE__) || defined(_M_X64) || defined(_M_AMD64) ||                                    \
    (defined(_M_IX86_FP) && _M_IX86_FP >= 1)
#include <xmmintrin.h>
#define TONALYX_FLOAT4_SSE 1
#endif

#ifdef TONALYX_FLOAT4_SSE

struct Float4 {
    __m128 v;
};
// Per lane: all bits set where a comparison holds.
struct Mask4 {
    __m128 v;
};

inline Float4 Load(const float* p) {
    return {_mm_loadu_ps(p)};
}
inline void Store(float* p, Float4 a) {
    _mm_storeu_ps(p, a.v);
}
inline Float4 Splat(float f) {
    return {_mm_set1_ps(f)};
}
inline Float4 operator+(Float4 a, Float4 b) {
    return {_mm_add_ps(a.v, b.v)};
}
inline Float4 operator-(Float4 a, Float4 b) {
    return {_mm_sub_ps(a.v, b.v)};
}
inline Float4 operator*(Float4 a, Float4 b) {
    return {_mm_mul_ps(a.v, b.v)};
}
inline Float4 operator/(Float4 a, Float4 b) {
    return {_mm_div_ps(a.v, b.v)};
}
inline Float4 Abs(Float4 a) {
    return {_mm_andnot_ps(_mm_set1_ps(-0.0f), a.v)};
}
inline Float4 Max(Float4 a, Float4 b) {
    return {_mm_max_ps(a.v, b.v)};
}
inline Float4 Min(Float4 a, Float4 b) {
    return {_mm_min_ps(a.v, b.v)};
}
inline Mask4 operator>(Float4 a, Float4 b) {
    return {_mm_cmpgt_ps(a.v, b.v)};
}
inline Mask4 operator<(Float4 a, Float4 b) {
    return {_mm_cmplt_ps(a.v, b.v)};
}
inline Mask4 operator==(Float4 a, Float4 b) {
    return {_mm_cmpeq_ps(a.v, b.v)};
}
// a where the mask is set, else b.
inline Float4 Select(Mask4 m, Float4 a, Float4 b) {
    return {_mm_or_ps(_mm_and_ps(m.v, a.v), _mm_andnot_ps(m.v, b.v))};
}
// Four interleaved complex values at p (re, im, re, im, ...) as real and imaginary parts.
inline void LoadComplex(const float* p, Float4& re, Float4& im) {
    const __m128 a = _mm_loadu_ps(p);
    const __m128 b = _mm_loadu_ps(p + 4);
    re.v = _mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0));
    im.v = _mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1));
}
inline void StoreComplex(float* p, Float4 re, Float4 im) {
    _mm_storeu_ps(p, _mm_unpacklo_ps(re.v, im.v));
    _mm_storeu_ps(p + 4, _mm_unpackhi_ps(re.v, im.v));
}

#else

struct Float4 {
    float v[4];
};
struct Mask4 {
    bool v[4];
};

template <class F> inline Float4 EachLane(F f) {
    Float4 r;
    for (int i = 0; i < 4; ++i)
        r.v[i] = f(i);
    return r;
}
template <class F> inline Mask4 EachMask(F f) {
    Mask4 r;
    for (int i = 0; i < 4; ++i)
        r.v[i] = f(i);
    return r;
}

inline Float4 Load(const float* p) {
    return EachLane([&](int i) { return p[i]; });
}
inline void Store(float* p, Float4 a) {
    for (int i = 0; i < 4; ++i)
        p[i] = a.v[i];
}
inline Float4 Splat(float f) {
    return EachLane([&](int) { return f; });
}
inline Float4 operator+(Float4 a, Float4 b) {
    return EachLane([&](int i) { return a.v[i] + b.v[i]; });
}
inline Float4 operator-(Float4 a, Float4 b) {
    return EachLane([&](int i) { return a.v[i] - b.v[i]; });
}
inline Float4 operator*(Float4 a, Float4 b) {
    return EachLane([&](int i) { return a.v[i] * b.v[i]; });
}
inline Float4 operator/(Float4 a, Float4 b) {
    return EachLane([&](int i) { return a.v[i] / b.v[i]; });
}
inline Float4 Abs(Float4 a) {
    return EachLane([&](int i) { return a.v[i] < 0.0f ? -a.v[i] : a.v[i]; });
}
inline Float4 Max(Float4 a, Float4 b) {
    return EachLane([&](int i) { return a.v[i] > b.v[i] ? a.v[i] : b.v[i]; });
}
inline Float4 Min(Float4 a, Float4 b) {
    return EachLane([&](int i) { return a.v[i] < b.v[i] ? a.v[i] : b.v[i]; });
}
inline Mask4 operator>(Float4 a, Float4 b) {
    return EachMask([&](int i) { return a.v[i] > b.v[i]; });
}
inline Mask4 operator<(Float4 a, Float4 b) {
    return EachMask([&](int i) { return a.v[i] < b.v[i]; });
}
inline Mask4 operator==(Float4 a, Float4 b) {
    return EachMask([&](int i) { return a.v[i] == b.v[i]; });
}
inline Float4 Select(Mask4 m, Float4 a, Float4 b) {
    return EachLane([&](int i) { return m.v[i] ? a.v[i] : b.v[i]; });
}
inline void LoadComplex(const float* p, Float4& re, Float4& im) {
    re = EachLane([&](int i) { return p[2 * i]; });
    im = EachLane([&](int i) { return p[2 * i + 1]; });
}
inline void StoreComplex(float* p, Float4 re, Float4 im) {
    for (int i = 0; i < 4; ++i) {
        p[2 * i] = re.v[i];
        p[2 * i + 1] = im.v[i];
    }
}

#endif
