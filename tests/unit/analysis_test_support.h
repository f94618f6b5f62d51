// Shared by the analysis tests: a double-precision naive DFT as the independent reference, and a
// fixture that runs each test on freshly set-up analysis arrays.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <functional>
#include <vector>

#include "analysis/analysis_setup.h"
#include "analysis/delay_line.h"
#include "port/headless/headless.h"
#include "state/alloc.h"
#include "state/state.h"

namespace analysis_test {

using Complex = std::complex<double>;
const double kPi = 3.14159265358979323846;

// X[k] = 1/sqrt(n) * sum x[j] e^(+2 pi i d j k / n) for the chosen bins.
inline std::vector<Complex> NaiveDft(const std::vector<Complex>& x, int direction,
                                     const std::vector<int32_t>& bins) {
    const int64_t n = static_cast<int64_t>(x.size());
    std::vector<Complex> root(n);
    for (int64_t m = 0; m < n; ++m)
        root[m] = std::polar(1.0, direction * 2.0 * kPi * m / n);
    std::vector<Complex> out;
    for (int32_t k : bins) {
        Complex sum = 0.0;
        for (int64_t j = 0; j < n; ++j)
            sum += x[j] * root[(j * k) % n];
        out.push_back(sum / std::sqrt(static_cast<double>(n)));
    }
    return out;
}

// The analysis window written out from its definition: 0.5 - 0.5 cos(pi j / h) on the first
// half, mirrored onto the second.
inline double HannAt(int32_t j, int32_t n) {
    const int32_t h = n / 2;
    const int32_t i = j < h ? j : n - 1 - j;
    return 0.5 - 0.5 * std::cos(kPi * i / h);
}

inline int16_t FullScale(double v) {
    return static_cast<int16_t>(std::lround(32767.0 * v));
}

// Each test starts from the program's initial state with fresh arrays for one rate and size.
class AnalysisTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAnalyzerState();
        headless::TakeMessages();
    }
    void TearDown() override {
        alloc::FailAfter(-1);
        AnalyseFree();
        delayLine.Free();
    }
    void Init(int32_t rate, int32_t size) {
        ASSERT_TRUE(AnalyseInit(rate, size));
        frameRate = 0; // no decay unless a test asks for it
        decayRate = 0;
    }
    // Fills the sample window frame by frame with (left, right).
    void FillWindow(const std::function<void(int32_t j, int16_t& left, int16_t& right)>& frame) {
        for (int32_t j = 0; j < fftSize; ++j)
            frame(j, sampleWindow[2 * j], sampleWindow[2 * j + 1]);
    }
};

} // namespace analysis_test
