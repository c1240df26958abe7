#include <benchmark/benchmark.h>

#include <cmath>
#include <numeric>
#include <vector>

#include "Color.h"

namespace {

// A frame of a 4096-pixel spectrometer covering 200 … 1100 nm, with a few
// emission lines over a slope.
struct Frame {
    std::vector<double> wavelength;
    std::vector<double> intensity;

    Frame() {
        for (int p = 0; p < 4096; ++p) {
            const double nm = 200.0 + 900.0 * p / 4095.0;
            wavelength.push_back(nm);
            intensity.push_back(1000.0 + nm + 20000.0 * std::exp(-0.5 * std::pow((nm - 546.1) / 0.8, 2)));
        }
    }
};

// Baseline: one pass summing the intensities, the least any calculation over
// the frame costs.
void BM_SumIntensities(benchmark::State& state) {
    Frame frame;
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::accumulate(frame.intensity.begin(), frame.intensity.end(), 0.0));
    }
}
BENCHMARK(BM_SumIntensities);

void BM_CalcColorCoordinates(benchmark::State& state) {
    Frame frame;
    const CColor color;
    double x = 0, y = 0;
    for (auto _ : state) {
        color.CalcColorCoordinates(frame.wavelength.data(), frame.intensity.data(), 4096, x, y);
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(y);
    }
}
BENCHMARK(BM_CalcColorCoordinates);

}  // namespace
