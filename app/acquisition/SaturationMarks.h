#pragma once

#include <vector>

namespace quenlix {

// A run of neighbouring pixels, as indexes into a device's display window in
// pixel order, both ends included.
struct PixelStretch {
    int first = 0;
    int last = 0;
};

// The pixels of one display window whose raw count reached the device's full
// scale: how many, and the runs they form. A clipped pixel no longer tells
// how much light fell on it, so what lies there cannot be trusted.
class SaturationMarks {
public:
    // Makes room for a window of that many pixels, so Find never allocates;
    // clears the marks.
    void Reserve(int windowPixels);
    // Marks the pixels of counts[0 … count) at or above fullScale. A count
    // above the reserved window is cut to it.
    void Find(const double* counts, int count, double fullScale);
    void Clear();

    int PixelCount() const { return pixelCount_; }
    const std::vector<PixelStretch>& Stretches() const { return stretches_; }

private:
    int window_ = 0;
    int pixelCount_ = 0;
    std::vector<PixelStretch> stretches_;
};

}  // namespace quenlix
