#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "PeakSearch.h"
#include "../tests/SyntheticSpectrum.h"

namespace {

// One spectrum of 30 lines on a curved background with noise, sampled with
// more points: the lines keep their place and width in nm, so they span more
// points as the count grows.
Spectrum ThirtyLines(int n) {
    const double perPoint = n / 1024.0;
    std::vector<TruePeak> lines;
    for (int k = 0; k < 30; ++k) {
        lines.push_back({(20.0 + 33.0 * k + 0.3 * k) * perPoint, 300.0 + 97.0 * (k % 7), 6.0 * perPoint});
    }
    const auto base = [n](int i) {
        const double t = i / (n - 1.0);
        return 800.0 + 600.0 * t - 500.0 * t * t;
    };
    return Make(n, 200.0, 800.0 / n, base, Shape::Gaussian, lines, 4.0);
}

// What the chart does on each repaint while the automatic search is on.
void BM_PeakSearch(benchmark::State& state) {
    const Spectrum s = ThirtyLines(static_cast<int>(state.range(0)));
    std::vector<double> baseDeleted(s.size());
    PeakInfo info;
    for (auto _ : state) {
        AotuSearchPeakByFD(s.size(), s.x.data(), s.y.data(), 100.0, &info, baseDeleted.data(), nullptr);
        benchmark::DoNotOptimize(info.count);
        benchmark::ClobberMemory();
    }
    if (info.count != 30) state.SkipWithError("the 30 lines were not all found");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PeakSearch)->Arg(1024)->Arg(4096)->Arg(16384)->Unit(benchmark::kMicrosecond);

// Baseline in the same run: one pass over the spectrum for its range, the
// least any drawing of the line costs.
void BM_OneRangePass(benchmark::State& state) {
    const Spectrum s = ThirtyLines(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const auto range = std::minmax_element(s.y.begin(), s.y.end());
        benchmark::DoNotOptimize(range);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_OneRangePass)->Arg(1024)->Arg(4096)->Arg(16384)->Unit(benchmark::kMicrosecond);

}  // namespace
