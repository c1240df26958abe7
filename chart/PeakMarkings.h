#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

// The point a peak position (in point units) is marked at.
inline double PeakPoint(double position) { return std::trunc(position + 0.2); }

// Adds a marking at each peak position (in point units) to the ascending
// list of markings of a line with pointCount points, at its PeakPoint;
// points already marked, and positions off the line, are skipped.
inline void MergePeakMarkings(std::vector<int>& markings, const double* positions, int count, int pointCount) {
    for (int j = 0; j < count; ++j) {
        const double point = PeakPoint(positions[j]);
        if (!(point >= 0 && point < pointCount)) continue;
        const int m = static_cast<int>(point);
        const auto at = std::lower_bound(markings.begin(), markings.end(), m);
        if (at == markings.end() || *at != m) markings.insert(at, m);
    }
}
