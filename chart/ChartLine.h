#pragma once

#include <string>
#include <vector>

// One spectrum line of the chart, holding its own copies of the data.
struct ChartLine {
    int pointCount = 0;
    std::vector<double> xData;  // ascending
    std::vector<double> yData;
    bool visible = true;  // consulted for file lines only
    std::wstring name;    // file lines are found by it
    int deviceIndex = -1;  // key of a device line
    std::vector<int> markings;  // point indexes, ascending, no duplicates
};
