#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "LineClipping.h"

namespace {

using Segment = std::pair<QPoint, QPoint>;

// Plot 0..100 pixels square over the data square 0..10: one data unit is
// ten pixels, y pointing up.
const PlotMapping kPlot{0, 0, 100, 100, 0, 10, 0, 10};

std::vector<Segment> Clip(std::vector<double> x, std::vector<double> y, const PlotMapping& m = kPlot) {
    std::vector<Segment> segments;
    ClipLine(m, x.data(), y.data(), static_cast<int>(x.size()),
             [&](QPoint a, QPoint b) { segments.emplace_back(a, b); });
    return segments;
}

Segment Seg(int x0, int y0, int x1, int y1) { return {QPoint(x0, y0), QPoint(x1, y1)}; }

TEST(LineClipping, LinesWithNoPointInTheXRangeDrawNothing) {
    EXPECT_TRUE(Clip({5}, {5}).empty());
    EXPECT_TRUE(Clip({-3, -2, -1}, {5, 5, 5}).empty());
    EXPECT_TRUE(Clip({11, 12, 13}, {5, 5, 5}).empty());
    EXPECT_TRUE(Clip({-5, 15}, {5, 5}).empty());  // jumps over the whole range
}

TEST(LineClipping, InnerSegmentsStopAtTheEdgeTheyCross) {
    EXPECT_EQ(Clip({2, 4}, {5, 6}), (std::vector{Seg(20, 50, 40, 40)}));
    EXPECT_EQ(Clip({2, 4}, {5, 15}), (std::vector{Seg(20, 50, 30, 0)}));   // to the top edge
    EXPECT_EQ(Clip({2, 4}, {5, -5}), (std::vector{Seg(20, 50, 30, 100)}));  // to the bottom edge
    EXPECT_EQ(Clip({2, 4}, {15, 5}), (std::vector{Seg(30, 0, 40, 50)}));   // from the top edge
    EXPECT_EQ(Clip({2, 4}, {-5, 15}), (std::vector{Seg(25, 100, 35, 0)}));  // right across
    EXPECT_EQ(Clip({2, 4}, {15, -5}), (std::vector{Seg(25, 0, 35, 100)}));
    EXPECT_TRUE(Clip({2, 4}, {-1, -5}).empty());  // both below
    EXPECT_TRUE(Clip({2, 4}, {11, 50}).empty());  // both above
}

TEST(LineClipping, EntryAndExitSegmentsAreCutAtTheSideEdges) {
    EXPECT_EQ(Clip({-5, 5}, {5, 5}), (std::vector{Seg(0, 50, 50, 50)}));
    // Enters through the bottom: the left-edge crossing is below the plot.
    EXPECT_EQ(Clip({-2, 2}, {-6, 2}), (std::vector{Seg(10, 100, 20, 80)}));
    // Enters through the left edge and leaves through the top.
    EXPECT_EQ(Clip({-2, 2}, {4, 12}), (std::vector{Seg(0, 20, 10, 0)}));
    EXPECT_TRUE(Clip({-2, 2}, {12, 15}).empty());  // both ends beyond the top

    EXPECT_EQ(Clip({0, 5, 15}, {5, 5, 5}), (std::vector{Seg(0, 50, 50, 50), Seg(50, 50, 100, 50)}));
    EXPECT_EQ(Clip({8, 12}, {5, 25}), (std::vector{Seg(80, 50, 90, 0)}));  // leaves through the top
    EXPECT_TRUE(Clip({8, 12}, {-2, -25}).empty());
}

TEST(LineClipping, ChainsThroughTheRegionInPointOrder) {
    const auto segments = Clip({-1, 1, 3, 5, 11}, {5, 5, 15, 5, 5});
    EXPECT_EQ(segments, (std::vector{Seg(0, 50, 10, 50), Seg(10, 50, 20, 0), Seg(40, 0, 50, 50),
                                     Seg(50, 50, 100, 50)}));
}

// A point inside the region followed by one beyond xMax is still joined to
// the right edge, even when it is the first point of the line.
TEST(LineClipping, FirstPointInsideAndSecondBeyondTheRightEdge) {
    EXPECT_EQ(Clip({5, 15}, {5, 5}), (std::vector{Seg(50, 50, 100, 50)}));
    EXPECT_TRUE(Clip({12, 15}, {5, 5}).empty());
}

TEST(LineClipping, NoSegmentLeavesThePlotWhateverTheData) {
    std::vector<double> x, y;
    for (int i = 0; i < 400; ++i) {
        x.push_back(-3 + i * 0.04);
        y.push_back(5 + 9 * std::sin(i * 0.37) + (i % 7 == 0 ? 1e6 : 0));
    }
    y[100] = std::numeric_limits<double>::quiet_NaN();
    y[200] = -std::numeric_limits<double>::infinity();
    const auto segments = Clip(x, y);
    EXPECT_GT(segments.size(), 100u);
    for (const auto& [a, b] : segments) {
        EXPECT_TRUE(kPlot.Contains(a.x(), a.y())) << a.x() << "," << a.y();
        EXPECT_TRUE(kPlot.Contains(b.x(), b.y())) << b.x() << "," << b.y();
        EXPECT_LE(a.x(), b.x());
    }
}

}  // namespace
