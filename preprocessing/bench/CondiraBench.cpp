#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "Condira.h"

// One frame through CCondira at the size of the largest detectors, against
// the same work with the smoothing done the direct way: 2s + 1 additions per
// pixel. Arguments: smoothness, Y unit.

namespace {

constexpr int kPixels = 4096;

// Dark level, a lamp line every 400 pixels and a little ripple.
std::vector<double> Frame(double scale) {
    std::vector<double> frame(kPixels);
    for (int i = 0; i < kPixels; ++i) {
        const double line = std::exp(-0.5 * std::pow((i % 400 - 200) / 6.0, 2));
        frame[i] = 1000.0 + scale * (800.0 + 30000.0 * line + 40.0 * std::sin(i * 0.7));
    }
    return frame;
}

// An instance with a dark and a reference spectrum, set to Y unit yType and
// the given smoothness; every frame completes a spectrum.
void Prepare(CCondira& condira, int smoothness, int yType) {
    condira.AddNewSpectrumData(Frame(0.0).data());
    condira.SaveDarkSpectrum();
    condira.AddNewSpectrumData(Frame(1.2).data());
    condira.SaveRefSpectrum();
    condira.SetSmoothness(smoothness);
    condira.SetYAxisType(yType);
}

// Direct window mean with the windows shrinking towards both ends.
void DirectBoxcar(const double* in, int n, int s, double* out) {
    for (int i = 0; i < n; ++i) {
        const int h = std::min({s, i, n - 1 - i});
        double sum = 0.0;
        for (int j = i - h; j <= i + h; ++j) sum += in[j];
        out[i] = sum / (2 * h + 1);
    }
}

void BM_AddNewSpectrumData(benchmark::State& state) {
    CCondira condira(kPixels);
    Prepare(condira, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const std::vector<double> frame = Frame(1.0);
    for (auto _ : state) {
        condira.AddNewSpectrumData(frame.data());
        benchmark::ClobberMemory();
    }
}

// Baseline: the call without smoothing followed by the direct window sums.
void BM_DirectAddNewSpectrumData(benchmark::State& state) {
    CCondira condira(kPixels);
    const int smoothness = static_cast<int>(state.range(0));
    Prepare(condira, 0, static_cast<int>(state.range(1)));
    const std::vector<double> frame = Frame(1.0);
    std::vector<double> smoothed(kPixels);
    for (auto _ : state) {
        condira.AddNewSpectrumData(frame.data());
        DirectBoxcar(frame.data(), kPixels, smoothness, smoothed.data());
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_AddNewSpectrumData)->ArgNames({"smooth", "ytype"})->ArgsProduct({{0, 10, 1000}, {0, 2, 4}});
BENCHMARK(BM_DirectAddNewSpectrumData)->ArgNames({"smooth", "ytype"})->ArgsProduct({{10, 1000}, {0, 2, 4}});

}  // namespace
