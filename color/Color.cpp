#include "Color.h"

#include <cmath>

#include "Cie1931Observer.h"

namespace {

using quenlix::color::kCie1931Observer5nm;
using quenlix::color::kObserverRows5nm;
using quenlix::color::kObserverStepNm;

// The fixed level the 750–770 nm band is given.
constexpr double kBandLevel = 5000.0;
constexpr double kBandLowNm = 750.0;
constexpr double kBandHighNm = 770.0;

}  // namespace

CColor::CColor() {
    static_assert(quenlix::color::kObserverFirstNm == kFirstNm &&
                  (kObserverRows5nm - 1) * kObserverStepNm == kLastNm - kFirstNm);
    for (int j = 0; j + 1 < kObserverRows5nm; ++j) {
        for (int k = 0; k < kObserverStepNm; ++k) {
            for (int f = 0; f < 3; ++f) {
                const double from = kCie1931Observer5nm[j][f];
                const double to = kCie1931Observer5nm[j + 1][f];
                table_[j * kObserverStepNm + k][f] = from + (to - from) / kObserverStepNm * k;
            }
        }
    }
    for (int f = 0; f < 3; ++f) table_.back()[f] = kCie1931Observer5nm[kObserverRows5nm - 1][f];
}

CColor::~CColor() = default;

void CColor::CalcColorCoordinates(const double* wavelength, double* intensity, int count, double& x,
                                  double& y) const {
    x = 0;
    y = 0;
    if (wavelength == nullptr || intensity == nullptr || count <= 0) return;

    // Intensity sum and sample count per 1-nm bin, 380 … 779 nm.
    std::array<double, kLastNm - kFirstNm> binSum{};
    std::array<int, kLastNm - kFirstNm> binCount{};
    for (int i = 0; i < count; ++i) {
        const double w = wavelength[i];
        if (w > kBandLowNm && w < kBandHighNm) intensity[i] = kBandLevel;
        if (!(w > kFirstNm && w < kLastNm)) continue;  // also drops NaN
        const int bin = static_cast<int>(w) - kFirstNm;
        binSum[bin] += intensity[i];
        ++binCount[bin];
    }

    double xyz[3] = {0, 0, 0};
    for (std::size_t bin = 0; bin < binSum.size(); ++bin) {
        if (binCount[bin] == 0) continue;
        const double mean = binSum[bin] / binCount[bin];
        for (int f = 0; f < 3; ++f) xyz[f] += table_[bin][f] * mean;
    }
    const double total = xyz[0] + xyz[1] + xyz[2];
    if (total == 0 || !std::isfinite(total)) return;
    x = xyz[0] / total;
    y = xyz[1] / total;
}
