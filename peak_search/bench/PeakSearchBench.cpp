#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "PeakSearch.h"
#include "../tests/SyntheticSpectrum.h"

namespace {

// 30 lines on a curved background with noise, sampled with n points. By
// default the lines keep their place and width in nm, so they span more points
// as the count grows and the work of measuring each line grows with it; with a
// width in samples only the count of points changes.
Spectrum ThirtyLines(int n, unsigned noiseSeed = 7, double widthInSamples = 0.0) {
    const double perPoint = n / 1024.0;
    const double width = widthInSamples > 0.0 ? widthInSamples : 6.0 * perPoint;
    std::vector<TruePeak> lines;
    for (int k = 0; k < 30; ++k) {
        lines.push_back({(20.0 + 33.0 * k + 0.3 * k) * perPoint, 300.0 + 97.0 * (k % 7), width});
    }
    const auto base = [n](int i) {
        const double t = i / (n - 1.0);
        return 800.0 + 600.0 * t - 500.0 * t * t;
    };
    return Make(n, 200.0, 800.0 / n, base, Shape::Gaussian, lines, 4.0, noiseSeed);
}

// What the chart does on each repaint while the automatic search is on,
// searching the frames in turn.
void SearchFrames(benchmark::State& state, const std::vector<Spectrum>& frames) {
    std::vector<double> baseDeleted(frames[0].size());
    PeakInfo info;
    std::size_t frame = 0;
    for (auto _ : state) {
        const Spectrum& s = frames[frame];
        frame = (frame + 1) % frames.size();
        AotuSearchPeakByFD(s.size(), s.x.data(), s.y.data(), 100.0, &info, baseDeleted.data(), nullptr);
        benchmark::DoNotOptimize(info.count);
        benchmark::ClobberMemory();
    }
    if (info.count != 30) state.SkipWithError("the 30 lines were not all found");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// One frame searched again and again, as while the acquisition is stopped.
void BM_PeakSearch(benchmark::State& state) {
    SearchFrames(state, {ThirtyLines(static_cast<int>(state.range(0)))});
}
BENCHMARK(BM_PeakSearch)->Arg(1024)->Arg(4096)->Arg(16384)->Unit(benchmark::kMicrosecond);

// Lines 6 samples wide at every count: the work per line stays the same.
void BM_PeakSearchConstantWidth(benchmark::State& state) {
    SearchFrames(state, {ThirtyLines(static_cast<int>(state.range(0)), 7, 6.0)});
}
BENCHMARK(BM_PeakSearchConstantWidth)->Arg(1024)->Arg(4096)->Arg(16384)->Unit(benchmark::kMicrosecond);

// New noise in every frame, as while acquiring. A frame searched again and
// again lets the processor learn the branches its noise decides at the small
// counts, which flatters them.
void BM_PeakSearchFreshNoise(benchmark::State& state) {
    std::vector<Spectrum> frames;
    for (unsigned seed = 1; seed <= 16; ++seed) frames.push_back(ThirtyLines(static_cast<int>(state.range(0)), seed));
    SearchFrames(state, frames);
}
BENCHMARK(BM_PeakSearchFreshNoise)->Arg(1024)->Arg(4096)->Arg(16384)->Unit(benchmark::kMicrosecond);

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
