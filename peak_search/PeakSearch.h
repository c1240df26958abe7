#pragma once

// Peak search on one spectrum, called by the chart on every repaint while the
// automatic search is on, and when markings are placed at peaks.
//
// Peaks are the sign changes of the first derivative of the lightly smoothed
// spectrum, and the shoulders weak lines leave on the flanks of strong ones,
// refined to a fraction of a sample. A smooth base is laid under the
// spectrum; heights and widths are measured above it. The function never
// throws and reports no error: bad input gives count 0.

#include <cstddef>
#include <cstdint>

#define QUENLIX_PEAKSEARCH_API extern "C" __attribute__((visibility("default")))

constexpr int kPeakInfoCapacity = 100;

// One search result, filled in place in a record the caller provides. Entry j
// of every array belongs to peak j for j < count; peaks are in ascending
// position. Positions and widths are in the units of the x handed in.
struct PeakInfo {
    std::int32_t count;                     // peaks found, 0 … 100
    std::int32_t padding;                   // keeps the arrays 8-byte aligned
    double position[kPeakInfoCapacity];     // array 0: centre of the peak
    double intensity[kPeakInfoCapacity];    // array 1: spectrum at the centre
    double leftHalf[kPeakInfoCapacity];     // array 2: x of the half-height crossing on the low-index side
    double rightHalf[kPeakInfoCapacity];    // array 3: x of the half-height crossing on the high-index side
    double base[kPeakInfoCapacity];         // array 4: the base under the centre
    double pointIndex[kPeakInfoCapacity];   // array 5: centre as a fractional sample index
    double fwhm[kPeakInfoCapacity];         // array 6: full width at half height, |rightHalf − leftHalf|
    double height[kPeakInfoCapacity];       // array 7: intensity − base
};
static_assert(sizeof(PeakInfo) == 6408, "the record's layout is fixed");
static_assert(offsetof(PeakInfo, position) == 8 && offsetof(PeakInfo, fwhm) == 4808 &&
                  offsetof(PeakInfo, height) == 5608,
              "the arrays sit where the chart reads them");

// Searches the n points (x[i], y[i]) for peaks whose height above the base is
// at least threshold; when more than 100 qualify, the 100 highest are kept.
// x may rise or fall but must be monotonic. When baseOut is not null it
// receives n values: y with the base removed, aligned with x. extra is not
// used (callers pass null). n < 3 finds no peaks; n ≤ 0 or a null x or y
// writes nothing but count 0. A null info does nothing.
// Work buffers are kept per thread and only grow, so repeated searches of
// spectra of one length allocate nothing.
QUENLIX_PEAKSEARCH_API void AotuSearchPeakByFD(int n, const double* x, const double* y, double threshold,
                                               PeakInfo* info, double* baseOut, double* extra);

// The function's signature, for callers that keep it as a pointer.
using AotuSearchPeakByFDFn = void(int, const double*, const double*, double, PeakInfo*, double*, double*);
