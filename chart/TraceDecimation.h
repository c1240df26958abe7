#pragma once

#include <vector>

#include "PlotMapping.h"

// One pixel column of a decimated trace: the values of the points whose X
// falls in that column, reduced to the first and last (in X order), the
// smallest and the largest.
struct TraceColumn {
    int pixel = 0;  // the column's X pixel
    double first = 0, last = 0, min = 0, max = 0;
    // The line comes in from the column before: no missing value lies
    // between that column's last point and this one's first.
    bool joined = false;
};

// Reduces a trace to one column per pixel, as an oscilloscope draws a
// record far longer than its screen is wide: a stroke from each column's
// smallest to its largest value, joined to its neighbours through the first
// and last values, paints the same pixels as every point would. Values that
// are not finite are gaps in the line. The points drawn are those whose X
// lies in the mapping's X range, with the one just before and the one just
// after it, so that the line runs out to the plot's edges (their columns lie
// outside the plot; the painter clips them). The columns are kept between
// calls: once the buffer has grown to the plot's width, decimating
// allocates nothing.
class TraceDecimator {
public:
    // x ascending; mapping.CanMapX().
    void Decimate(const PlotMapping& mapping, const double* x, const double* y, int count);
    const std::vector<TraceColumn>& Columns() const { return columns_; }

private:
    std::vector<TraceColumn> columns_;
};
