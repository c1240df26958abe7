#include "SaturationMarks.h"

#include <algorithm>

namespace quenlix {

void SaturationMarks::Reserve(int windowPixels) {
    window_ = std::max(windowPixels, 0);
    // Runs are separated by at least one pixel below full scale.
    stretches_.reserve(static_cast<std::size_t>(window_ / 2 + 1));
    Clear();
}

void SaturationMarks::Clear() {
    pixelCount_ = 0;
    stretches_.clear();
}

void SaturationMarks::Find(const double* counts, int count, double fullScale) {
    Clear();
    if (counts == nullptr) return;
    const int n = std::min(count, window_);
    for (int i = 0; i < n; ++i) {
        if (!(counts[i] >= fullScale)) continue;
        ++pixelCount_;
        if (!stretches_.empty() && stretches_.back().last == i - 1) {
            stretches_.back().last = i;
        } else {
            stretches_.push_back({i, i});
        }
    }
}

}  // namespace quenlix
