#include <gtest/gtest.h>

#include "PlotaraTestAccess.h"

namespace {

// 400 × 300 image over 0..10: plot 80..360, one X unit is 28 pixels.
constexpr int T = 30, B = 250;
constexpr uint32_t kBlue = 0xFF0000, kGreen = 0x00FF00;

int PixelOf(double x) { return 80 + static_cast<int>(x * 28); }

TEST(BandRegions, HitTestFindsTheNearestEdgeWithinReach) {
    CPlotara chart;
    SetUpChart(chart);
    // Band 1's left edge (4.1) lies next to band 0's right edge (4).
    chart.SetBandRegions({{2, 4, kBlue}, {4.1, 6, kGreen}});
    const int y = 100;
    EXPECT_EQ(chart.HitBandEdge(PixelOf(2), y), 0);
    EXPECT_EQ(chart.HitBandEdge(PixelOf(2) + 4, y), 0);
    EXPECT_EQ(chart.HitBandEdge(PixelOf(2) + 5, y), -1);
    EXPECT_EQ(chart.HitBandEdge(PixelOf(4) - 1, y), 1);
    EXPECT_EQ(chart.HitBandEdge(PixelOf(4.1) + 1, y), 2);
    EXPECT_EQ(chart.HitBandEdge(PixelOf(6), y), 3);
    EXPECT_EQ(chart.HitBandEdge(PixelOf(6), B + 10), -1);  // below the plot
    chart.SetAxisRegion(5, 5, 0, 10);                      // no X range: nothing to take
    EXPECT_EQ(chart.HitBandEdge(PixelOf(6), y), -1);
}

TEST(BandRegions, DraggedEdgesStayInTheRangeAndInOrder) {
    CPlotara chart;
    SetUpChart(chart);
    chart.SetBandRegions({{2, 4, kBlue}});
    chart.DragBandEdge(0, PixelOf(3));
    EXPECT_NEAR(chart.BandRegions()[0].from, 3, 1.0 / 28);
    chart.DragBandEdge(0, PixelOf(9));  // past the right edge: one pixel short of it
    EXPECT_NEAR(chart.BandRegions()[0].from, 4 - 10.0 / 280, 1e-9);
    chart.DragBandEdge(1, 1000);  // beyond the plot: the end of the range
    EXPECT_DOUBLE_EQ(chart.BandRegions()[0].to, 10);
    chart.DragBandEdge(5, PixelOf(1));  // no such edge
    chart.DragBandEdge(-1, PixelOf(1));
    EXPECT_DOUBLE_EQ(chart.BandRegions()[0].to, 10);
}

TEST(BandRegions, ShadedBetweenTheEdgesOnly) {
    CPlotara chart;
    SetUpChart(chart);
    chart.SetGridColor(0xFFFFFF);
    chart.SetBandRegions({{2, 4, kBlue}, {8, 20, kGreen}});  // the second runs out of the view
    const QImage image = Render(chart);
    const QRgb white = qRgb(255, 255, 255);
    const int y = (T + B) / 2;
    EXPECT_EQ(image.pixel(PixelOf(2), y), ToQColor(kBlue).rgb());  // edge
    const QColor inside = image.pixelColor(PixelOf(3), y);
    EXPECT_GT(inside.blue(), inside.red());  // a light blue
    EXPECT_GT(inside.red(), 150);
    EXPECT_EQ(image.pixel(PixelOf(1), y), white);
    EXPECT_EQ(image.pixel(PixelOf(5), y), white);
    const QColor outOfView = image.pixelColor(PixelOf(9.9), y);
    EXPECT_GT(outOfView.green(), outOfView.red());
    EXPECT_EQ(image.pixel(365, y), white);  // nothing right of the plot
}

}  // namespace
