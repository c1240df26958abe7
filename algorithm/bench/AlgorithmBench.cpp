#include <benchmark/benchmark.h>

#include <vector>

#include "Algorithm.h"

namespace {

constexpr int kPixels = 4096;

double Wavelength(double p) { return 340.0 + 0.21 * p - 1.3e-5 * p * p + 2.0e-10 * p * p * p; }

void BM_MultiOrderFitCubic(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<double> x(n), y(n);
    for (int i = 0; i < n; ++i) {
        x[i] = i * (kPixels - 1.0) / (n - 1);
        y[i] = Wavelength(x[i]);
    }
    double c[4];
    for (auto _ : state) {
        MultiOrderLeastSquareNoWeight(x.data(), y.data(), n, 3, c);
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_MultiOrderFitCubic)->Arg(40)->Arg(kPixels);

// The link's use: 45 stored correction points spread over the detector give
// the wavelength of every pixel.
void BM_SplineOver4096Pixels(benchmark::State& state) {
    std::vector<double> knots(45), values(45), pixels(kPixels), out(kPixels);
    for (int i = 0; i < 45; ++i) {
        knots[i] = i * (kPixels - 1.0) / 44;
        values[i] = Wavelength(knots[i]);
    }
    for (int p = 0; p < kPixels; ++p) pixels[p] = p;
    for (auto _ : state) {
        CubicSplineInterpolation(knots.data(), values.data(), 45, 0.21, 0.1, pixels.data(), kPixels, out.data());
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_SplineOver4096Pixels);

// Baseline: one pass of the plain wavelength polynomial over the same pixels.
void BM_BaselineCubicPolynomialOver4096Pixels(benchmark::State& state) {
    std::vector<double> pixels(kPixels), out(kPixels);
    for (int p = 0; p < kPixels; ++p) pixels[p] = p;
    const double c0 = 340.0, c1 = 0.21, c2 = -1.3e-5, c3 = 2.0e-10;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pixels.data());
        for (int p = 0; p < kPixels; ++p) {
            const double x = pixels[p];
            out[p] = ((c3 * x + c2) * x + c1) * x + c0;
        }
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_BaselineCubicPolynomialOver4096Pixels);

}  // namespace
