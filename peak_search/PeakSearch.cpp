#include "PeakSearch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "Baseline.h"
#include "Candidates.h"
#include "PeakShape.h"

namespace {

using namespace peaksearch;

// Maxima closer than this many noise deviations to the trough between them are
// one peak split by noise.
constexpr double kMergeDipInSigmas = 3.0;

// A shoulder's dip of curvature must reach this many deviations of the
// curvature's noise, and the rise beside it twice as many: noise alone makes
// the pair practically never, a weak line 10 σ high beside a strong one does.
constexpr double kShoulderInSigmas = 3.5;

// The base window spans 1/8 of the spectrum: wide against the lines of an
// array spectrometer, narrow against the curvature of its background.
int BaseHalfWindow(int n) { return std::max(2, n / 16); }

// Work buffers of one thread. They only grow, so a repaint that searches a
// spectrum of the same length as before allocates nothing.
struct Workspace {
    std::vector<double> smooth, mean, base, padded, eroded, prefix, runs;
    std::vector<Candidate> candidates, shoulders;

    // Room for n points and a base half window of h.
    void Reserve(int n, int h) {
        const auto size = static_cast<std::size_t>(n);
        const auto paddedSize = size + 2 * static_cast<std::size_t>(h);
        if (smooth.size() < size) {
            smooth.resize(size);
            mean.resize(size);
            base.resize(size);
            candidates.resize(size / 2 + 1);
            shoulders.resize(size / 2 + 1);
        }
        if (padded.size() < paddedSize) {
            padded.resize(paddedSize);
            eroded.resize(paddedSize);
            prefix.resize(paddedSize + 1);
        }
        if (runs.size() < 4 * static_cast<std::size_t>(h) + 2) runs.resize(4 * static_cast<std::size_t>(h) + 2);
    }
};

// v at a fractional sample index; beyond the ends the end intervals go on.
double At(const double* v, int n, double index) {
    const int i = std::clamp(static_cast<int>(std::floor(index)), 0, n - 2);
    return v[i] + (index - i) * (v[i + 1] - v[i]);
}

struct Peak {
    double position, intensity, left, right, base, index, fwhm, height;
};

void Search(int n, const double* x, const double* y, double threshold, PeakInfo& info, double* baseOut) {
    thread_local Workspace w;
    const int h = BaseHalfWindow(n);
    w.Reserve(n, h);
    SmoothLightly(y, n, w.smooth.data());
    const double sigma = NoiseSigma(y, n, w.padded.data());
    ComputeBaseline(w.smooth.data(), sigma, n, h, w.base.data(),
                    {w.mean.data(), w.padded.data(), w.eroded.data(), w.prefix.data(), w.runs.data()});

    std::array<Peak, kPeakInfoCapacity> kept;
    int keptCount = 0;
    if (n >= 3) {
        const int maxima = FindCandidates(w.smooth.data(), n, kMergeDipInSigmas * sigma, w.candidates.data());
        const int shoulders = FindShoulders(w.smooth.data(), n, kShoulderInSigmas * SmoothedCurvatureSigma(sigma),
                                            w.candidates.data(), maxima, w.shoulders.data());

        // The kept peaks form a heap with the lowest on top, so the 100 highest
        // of any number stay.
        const auto higher = [](const Peak& a, const Peak& b) { return a.height > b.height; };
        for (int c = 0; c < maxima + shoulders; ++c) {
            const Candidate& candidate = c < maxima ? w.candidates[c] : w.shoulders[c - maxima];
            const PeakShape s = MeasurePeak(y, w.smooth.data(), w.base.data(), candidate);
            if (!(s.height >= threshold)) continue;
            if (keptCount == kPeakInfoCapacity && !(s.height > kept[0].height)) continue;
            const double base = At(w.base.data(), n, std::clamp(s.index, 0.0, n - 1.0));
            const double left = At(x, n, s.left);
            const double right = At(x, n, s.right);
            const Peak p{At(x, n, s.index), s.height + base, left,    right,
                         base,              s.index,         std::fabs(right - left), s.height};
            if (!std::isfinite(p.position)) continue;
            if (keptCount == kPeakInfoCapacity) {
                std::pop_heap(kept.begin(), kept.end(), higher);
                kept.back() = p;
            } else {
                kept[keptCount++] = p;
            }
            std::push_heap(kept.begin(), kept.begin() + keptCount, higher);
        }
        std::sort(kept.begin(), kept.begin() + keptCount,
                  [](const Peak& a, const Peak& b) { return a.position < b.position; });
    }

    for (int j = 0; j < keptCount; ++j) {
        const Peak& p = kept[j];
        info.position[j] = p.position;
        info.intensity[j] = p.intensity;
        info.leftHalf[j] = p.left;
        info.rightHalf[j] = p.right;
        info.base[j] = p.base;
        info.pointIndex[j] = p.index;
        info.fwhm[j] = p.fwhm;
        info.height[j] = p.height;
    }
    info.count = keptCount;
    // Written last, so an output that shares memory with y cannot disturb the search.
    if (baseOut) {
        for (int i = 0; i < n; ++i) baseOut[i] = y[i] - w.base[i];
    }
}

}  // namespace

void AotuSearchPeakByFD(int n, const double* x, const double* y, double threshold, PeakInfo* info,
                        double* baseOut, double* /*extra: not used*/) {
    if (!info) return;
    info->count = 0;
    if (n <= 0 || !x || !y) return;
    try {
        Search(n, x, y, threshold, *info, baseOut);
    } catch (...) {
        // Only the work buffers can fail to grow; no peaks then.
        info->count = 0;
    }
}
