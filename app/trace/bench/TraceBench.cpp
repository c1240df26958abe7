// The time trace's computation per spectrum: four bands on a spectrum of
// 4096 pixels, against a budget of 20 µs ("budget" is the share of it used).
// Bands of a line's width (10 nm, about 40 pixels) are what a user marks;
// bands of a quarter of the axis each make the computation read every pixel
// and are the worst case. The baseline is a plain sum over the 4096 pixels.

#include <benchmark/benchmark.h>

#include <cmath>
#include <numeric>
#include <vector>

#include "BandQuantities.h"
#include "RubyPressure.h"

namespace {

constexpr int kPixels = 4096;
constexpr double kBudgetSeconds = 20e-6;

// A lamp-like spectrum: lines on a slope, with some ripple for noise.
struct Spectrum {
    std::vector<double> x, y;
    Spectrum() {
        for (int i = 0; i < kPixels; ++i) {
            const double nm = 200 + 0.22 * i - 2e-6 * i * i;
            double v = 1000 + 0.5 * i + 20 * std::sin(i * 1.7);
            for (double centre : {404.656, 435.833, 546.074, 576.960, 696.543, 763.511, 811.531}) {
                const double d = (nm - centre) / 0.6;
                v += 8000 * std::exp(-0.5 * d * d);
            }
            x.push_back(nm);
            y.push_back(v);
        }
    }
};

void Measure(benchmark::State& state, const std::vector<quenlix::TraceBand>& bands) {
    const Spectrum s;
    double values[quenlix::kMaxTraceBands];
    for (auto _ : state) {
        quenlix::ComputeBandValues(bands, 0, quenlix::kDefaultRubyReferenceNm, s.x.data(), s.y.data(), kPixels,
                                   values);
        benchmark::DoNotOptimize(values);
        benchmark::ClobberMemory();
    }
    state.counters["budget"] = benchmark::Counter(static_cast<double>(state.iterations()) * kBudgetSeconds,
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void FourLineBands(benchmark::State& state) {
    using quenlix::BandQuantity;
    Measure(state, {{541, 551, BandQuantity::Integral},
                    {430.8, 440.8, BandQuantity::PeakHeight},
                    {758.5, 768.5, BandQuantity::PeakCentre},
                    {806.5, 816.5, BandQuantity::Fwhm}});
}

void FourLineBandsWithRatio(benchmark::State& state) {
    using quenlix::BandQuantity;
    Measure(state, {{541, 551, BandQuantity::Integral},
                    {430.8, 440.8, BandQuantity::Ratio, 0},
                    {758.5, 768.5, BandQuantity::PeakCentre},
                    {806.5, 816.5, BandQuantity::Fwhm}});
}

// Each band a quarter of the axis: every pixel is read, the integral's
// band twice more for the ratio.
void FourQuarterBands(benchmark::State& state) {
    using quenlix::BandQuantity;
    const Spectrum s;
    const double q = (s.x.back() - s.x.front()) / 4;
    const double a = s.x.front();
    Measure(state, {{a, a + q, BandQuantity::Ratio, 1},
                    {a + q, a + 2 * q, BandQuantity::PeakHeight},
                    {a + 2 * q, a + 3 * q, BandQuantity::PeakCentre},
                    {a + 3 * q, s.x.back(), BandQuantity::Fwhm}});
}

void BaselineSumOfAllPixels(benchmark::State& state) {
    const Spectrum s;
    for (auto _ : state) {
        double sum = std::accumulate(s.y.begin(), s.y.end(), 0.0);
        benchmark::DoNotOptimize(sum);
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK(BaselineSumOfAllPixels);
BENCHMARK(FourLineBands);
BENCHMARK(FourLineBandsWithRatio);
BENCHMARK(FourQuarterBands);
