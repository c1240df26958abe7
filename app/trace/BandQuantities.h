#pragma once

#include <vector>

namespace quenlix {

// What a trace follows in one band of a spectrum.
enum class BandQuantity {
    Integral,      // area above a straight base between the band's edges
    PeakHeight,    // height of the highest point above that base
    PeakCentre,    // X of the top of a parabola through the three highest points
    Fwhm,          // full width at half the peak height above the base
    Ratio,         // this band's integral over the integral of band ratioOf
    RubyPressure,  // ruby R1 pressure on the Mao scale from the band's peak centre, GPa
};

inline constexpr int kMaxTraceBands = 4;

// One band: an X range in the unit the spectrum's X is in.
struct TraceBand {
    double xFrom = 0;
    double xTo = 0;  // xFrom < xTo
    BandQuantity quantity = BandQuantity::Integral;
    int ratioOf = -1;  // Ratio only: index of the denominator's band

    bool operator==(const TraceBand&) const = default;
};

// Whether bands can be computed: 1 to kMaxTraceBands bands, finite edges
// with xFrom < xTo, and every Ratio naming another band of the list.
bool ValidTraceBands(const std::vector<TraceBand>& bands);

// One spectrum's quantities, values[i] for bands[i] (values holds
// bands.size() numbers). The base of a band is the straight line through
// the spectrum at its two edges, each interpolated linearly between the
// neighbouring points. A quantity is NaN where the band cannot give one: an
// edge outside the X axis, xFrom not below xTo, no point inside for the
// height, no top with a neighbour inside on each side for the centre, no
// height above the base for the FWHM, a ratio by zero or to a band that is
// not in the list, a pressure in an X unit other than nm (xTypeCode 0) or
// µm (1). x is ascending; count below 2 or null arrays give NaN everywhere.
// Allocates nothing.
void ComputeBandValues(const std::vector<TraceBand>& bands, int xTypeCode, double rubyReferenceNm,
                       const double* x, const double* y, int count, double* values);

}  // namespace quenlix
