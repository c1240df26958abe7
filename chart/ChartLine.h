#pragma once

#include <string>
#include <vector>

// Neighbouring points of a line, by index in the device's pixel order, both
// ends included.
struct PointStretch {
    int first = 0;
    int last = 0;
};

// One spectrum line of the chart, holding its own copies of the data.
struct ChartLine {
    int pointCount = 0;
    std::vector<double> xData;  // ascending
    std::vector<double> yData;
    bool visible = true;  // consulted for file lines only
    std::wstring name;    // file lines are found by it
    int deviceIndex = -1;  // key of a device line
    std::vector<int> markings;  // point indexes, ascending, no duplicates
    std::vector<PointStretch> saturated;  // of a device line: where its detector clipped
};
