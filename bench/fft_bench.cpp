// Speed of the real-input FFT per size, beside FFTW's single-precision real transform of the same
// size as a yardstick when FFTW is installed (benchmark only; the program never uses it).
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "analysis/fft.h"

#ifdef TONALYX_HAVE_FFTW3F
#include <fftw3.h>
#endif

namespace {

std::vector<float> NoiseInput(int32_t n) {
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    std::vector<float> input(n);
    for (float& v : input)
        v = uniform(random);
    return input;
}

// Both benchmarks copy the same input into the transform's buffer on every iteration, so that
// each run transforms the same data and the copy costs both the same.
void BM_RealFft(benchmark::State& state) {
    const int32_t n = static_cast<int32_t>(state.range(0));
    const std::vector<float> input = NoiseInput(n);
    std::vector<float> data(n);
    for (auto _ : state) {
        std::memcpy(data.data(), input.data(), n * sizeof(float));
        RealFft(data.data(), n, 1);
        benchmark::DoNotOptimize(data.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RealFft)->RangeMultiplier(2)->Range(2048, 32768)->Unit(benchmark::kMicrosecond);

#ifdef TONALYX_HAVE_FFTW3F
void BM_FftwRealFft(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> input = NoiseInput(n);
    float* data = fftwf_alloc_real(static_cast<size_t>(n) + 2);
    fftwf_plan plan =
        fftwf_plan_dft_r2c_1d(n, data, reinterpret_cast<fftwf_complex*>(data), FFTW_MEASURE);
    for (auto _ : state) {
        std::memcpy(data, input.data(), n * sizeof(float));
        fftwf_execute(plan);
        benchmark::DoNotOptimize(data);
        benchmark::ClobberMemory();
    }
    fftwf_destroy_plan(plan);
    fftwf_free(data);
}
BENCHMARK(BM_FftwRealFft)->RangeMultiplier(2)->Range(2048, 32768)->Unit(benchmark::kMicrosecond);
#endif

} // namespace
