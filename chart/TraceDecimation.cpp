#include "TraceDecimation.h"

#include <algorithm>
#include <cmath>

void TraceDecimator::Decimate(const PlotMapping& mapping, const double* x, const double* y, int count) {
    columns_.clear();
    if (count <= 0 || !mapping.CanMapX()) return;
    // The plot's columns and the two outside neighbours.
    columns_.reserve(static_cast<std::size_t>(mapping.right - mapping.left) + 3);
    const int from = std::max(0, static_cast<int>(std::lower_bound(x, x + count, mapping.xMin) - x) - 1);
    const int to = std::min(count, static_cast<int>(std::upper_bound(x, x + count, mapping.xMax) - x) + 1);
    // Below `sameColumnBelow` a point falls in the last column for sure, so
    // the mapping is worked out only near the column's right end; it stays
    // the one judge of which column a point takes.
    const double pixelsPerUnit = (mapping.right - mapping.left) / (mapping.xMax - mapping.xMin);
    double sameColumnBelow = -INFINITY;
    bool gap = true;  // nothing drawn yet is as good as a gap before the first point
    for (int i = from; i < to; ++i) {
        const double v = y[i];
        if (!std::isfinite(v)) {
            gap = true;
            continue;
        }
        if (x[i] < sameColumnBelow || (!columns_.empty() && columns_.back().pixel == mapping.PixelX(x[i]))) {
            // A gap inside one column is covered by the column's stroke.
            TraceColumn& column = columns_.back();
            column.last = v;
            column.min = std::min(column.min, v);
            column.max = std::max(column.max, v);
        } else {
            const int pixel = mapping.PixelX(x[i]);
            columns_.push_back({pixel, v, v, v, v, !gap});
            // Pixels truncate toward zero: left of zero a column is not [p, p + 1).
            const double next = mapping.xMin + (pixel + 1 - mapping.left) / pixelsPerUnit;
            sameColumnBelow = pixel >= 0 ? next - 1e-9 * (std::fabs(next) + 1 / pixelsPerUnit) : -INFINITY;
        }
        gap = false;
    }
}
