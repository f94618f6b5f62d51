// The FFTs against a double-precision naive DFT with the same convention (positive exponent,
// 1/sqrt(n) scaling) and the same packed layout, for every power of two up to the largest size,
// on random and structured inputs; round trips; rejected sizes.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <string>
#include <vector>

#include "analysis/fft.h"
#include "analysis_test_support.h"

namespace {

using analysis_test::Complex;
using analysis_test::kPi;
using analysis_test::NaiveDft;

// Every bin for small sizes; for large ones the edges, the quarter points and a random sample.
std::vector<int32_t> BinsToCheck(int32_t n, std::mt19937& random) {
    std::vector<int32_t> bins;
    if (n <= 2048) {
        for (int32_t k = 0; k < n; ++k)
            bins.push_back(k);
        return bins;
    }
    for (int32_t k : {0, 1, 2, 3, n / 4 - 1, n / 4, n / 4 + 1, n / 2 - 1, n / 2, n / 2 + 1, n - 1})
        bins.push_back(k);
    std::uniform_int_distribution<int32_t> any(0, n - 1);
    for (int i = 0; i < 100; ++i)
        bins.push_back(any(random));
    return bins;
}

enum class Input { Random, Impulse, Constant, BinSine, Alternating, FullScale };
const char* const kInputNames[] = {"Random",  "Impulse",     "Constant",
                                   "BinSine", "Alternating", "FullScale"};

double InputValue(Input kind, int32_t j, int32_t n, std::mt19937& random) {
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    switch (kind) {
    case Input::Random:
        return uniform(random);
    case Input::Impulse:
        return j == n / 3 ? 1.0 : 0.0;
    case Input::Constant:
        return 0.75;
    case Input::BinSine:
        return std::sin(2.0 * kPi * (n / 8 + 1) * j / n) + 0.25 * std::cos(2.0 * kPi * 3 * j / n);
    case Input::Alternating:
        return (j & 1) ? -1.0 : 1.0;
    case Input::FullScale:
        return std::round(32767.0 * uniform(random));
    }
    return 0.0;
}

// Single-precision accuracy for an FFT: a few float epsilons per stage, relative to the value
// itself plus the rms of the data (which the unitary scaling carries over to the spectrum).
double Tolerance(int32_t n, double rms, double value) {
    const double stages = std::log2(static_cast<double>(n)) + 1.0;
    return 4.0 * 1.1920929e-7 * stages * (rms + std::abs(value));
}

double Rms(const std::vector<Complex>& x) {
    double sum = 0.0;
    for (const Complex& v : x)
        sum += std::norm(v);
    return std::sqrt(sum / static_cast<double>(x.size()));
}

struct FftCase {
    int32_t n;
    Input input;
};

std::vector<FftCase> AllCases(int32_t smallest) {
    std::vector<FftCase> cases;
    for (int32_t n = smallest; n <= kFftMaxSize; n *= 2)
        for (int k = 0; k <= static_cast<int>(Input::FullScale); ++k)
            cases.push_back({n, static_cast<Input>(k)});
    return cases;
}

std::string CaseName(const ::testing::TestParamInfo<FftCase>& info) {
    return "n" + std::to_string(info.param.n) + "_" +
           kInputNames[static_cast<int>(info.param.input)];
}

class RealFftCase : public ::testing::TestWithParam<FftCase> {};

TEST_P(RealFftCase, MatchesNaiveDftInPackedLayout) {
    const FftCase c = GetParam();
    const int32_t n = c.n;
    std::mt19937 random(static_cast<unsigned>(n) * 7 + static_cast<unsigned>(c.input));
    std::vector<float> data(n);
    std::vector<Complex> x(n);
    for (int32_t j = 0; j < n; ++j) {
        data[j] = static_cast<float>(InputValue(c.input, j, n, random));
        x[j] = data[j];
    }
    std::vector<int32_t> bins;
    for (int32_t k : BinsToCheck(n, random))
        if (k <= n / 2)
            bins.push_back(k);
    const std::vector<Complex> expected = NaiveDft(x, 1, bins);
    const double rms = Rms(x);

    ASSERT_TRUE(RealFft(data.data(), n, 1));
    for (size_t b = 0; b < bins.size(); ++b) {
        const int32_t k = bins[b];
        const Complex got = k == 0       ? Complex(data[0])
                            : k == n / 2 ? Complex(data[1])
                                         : Complex(data[2 * k], data[2 * k + 1]);
        const double tolerance = Tolerance(n, rms, std::abs(expected[b]));
        ASSERT_LE(std::abs(got - expected[b]), tolerance) << "bin " << k;
        if (k == 0 || k == n / 2) { // the packed layout has room for real parts only there
            ASSERT_LE(std::abs(expected[b].imag()), tolerance) << "bin " << k;
        }
    }

    // The inverse gives the input back.
    ASSERT_TRUE(RealFft(data.data(), n, -1));
    for (int32_t j = 0; j < n; ++j)
        ASSERT_NEAR(data[j], x[j].real(), Tolerance(n, rms, x[j].real())) << "sample " << j;
}

INSTANTIATE_TEST_SUITE_P(AllSizes, RealFftCase, ::testing::ValuesIn(AllCases(2)), CaseName);

class ComplexFftCase : public ::testing::TestWithParam<FftCase> {};

TEST_P(ComplexFftCase, MatchesNaiveDftBothDirections) {
    const FftCase c = GetParam();
    const int32_t n = c.n;
    std::mt19937 random(static_cast<unsigned>(n) * 11 + static_cast<unsigned>(c.input));
    std::vector<float> data(2 * n);
    std::vector<Complex> x(n);
    for (int32_t j = 0; j < n; ++j) {
        data[2 * j] = static_cast<float>(InputValue(c.input, j, n, random));
        data[2 * j + 1] = static_cast<float>(InputValue(c.input, (j + 5) % n, n, random));
        x[j] = Complex(data[2 * j], data[2 * j + 1]);
    }
    const std::vector<int32_t> bins = BinsToCheck(n, random);
    const double rms = Rms(x);
    for (int direction : {1, -1}) {
        std::vector<float> work = data;
        const std::vector<Complex> expected = NaiveDft(x, direction, bins);
        ASSERT_TRUE(ComplexFft(work.data(), n, direction));
        for (size_t b = 0; b < bins.size(); ++b) {
            const Complex got(work[2 * bins[b]], work[2 * bins[b] + 1]);
            ASSERT_LE(std::abs(got - expected[b]), Tolerance(n, rms, std::abs(expected[b])))
                << "direction " << direction << " bin " << bins[b];
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllSizes, ComplexFftCase, ::testing::ValuesIn(AllCases(1)), CaseName);

TEST(Fft, RejectsSizesItCannotTransform) {
    std::vector<float> data(2 * kFftMaxSize * 2, 1.0f);
    const std::vector<float> before = data;
    for (int32_t n : {0, -8, 3, 12, 1000, 2 * kFftMaxSize}) {
        EXPECT_FALSE(RealFft(data.data(), n, 1)) << n;
        EXPECT_FALSE(ComplexFft(data.data(), n, 1)) << n;
    }
    EXPECT_FALSE(RealFft(data.data(), 1, 1));
    EXPECT_FALSE(RealFft(data.data(), 8, 0));
    EXPECT_FALSE(ComplexFft(data.data(), 8, 2));
    EXPECT_EQ(data, before);
}

} // namespace
