#pragma once

#include "Candidates.h"

// Measuring one peak on the spectrum with its base removed, r = y − base.

namespace peaksearch {

// In fractional sample indexes.
struct PeakShape {
    double index;   // centre
    double height;  // r at the centre
    double left;    // half-height crossing on the low-index side
    double right;   // half-height crossing on the high-index side
};

// The half-height crossings are interpolated linearly between the samples
// where r passes half the height, searched from the top towards the
// candidate's bounds. The centre and height come from a least-squares parabola
// through 1 / r over the samples within a quarter of the width of the top,
// which is three samples for the narrowest peaks and averages out noise on
// broad ones. A side that does not fall to half height within its bound mirrors the
// other side; when neither does, the bounds are taken.
PeakShape MeasurePeak(const double* y, const double* smooth, const double* base, const Candidate& candidate);

}  // namespace peaksearch
