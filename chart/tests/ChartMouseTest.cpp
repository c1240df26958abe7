#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <list>
#include <vector>

#include "PlotaraTestAccess.h"

namespace {

using A = PlotaraTestAccess;

// 400 × 300 chart: plot 80..360 × 30..250 over 0..280 × 0..220, one data
// unit per pixel, so that pixel (80 + u, 250 − v) is the data point (u, v).
class ChartMouse : public ::testing::Test {
protected:
    void SetUp() override {
        chart.SetPlotaraRect(400, 300);
        chart.SetAxisRegion(0, 280, 0, 220);
    }
    void Expect(double x0, double x1, double y0, double y1) {
        const std::array<double, 4> want{x0, x1, y0, y1}, got = RegionOf(chart);
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(got[i], want[i], 1e-9) << i;
    }
    void Drag(int x0, int y0, int x1, int y1) {
        chart.LMouseDown(x0, y0);
        chart.MouseMove(x1, y1);
        chart.LMouseUp(x1, y1);
    }
    // Active file line with X 1, 2, 3 and Y 10, 20, 30.
    void AddActiveLine() {
        const double x[3] = {1, 2, 3}, y[3] = {10, 20, 30};
        chart.AddFileLine(0, 3, x, y, L"line");
        chart.SetActiveSpectrum(-1, L"line");
    }
    CPlotara chart;
};

TEST_F(ChartMouse, ClickZoomsAboutThePointAndOnlyOnAClick) {
    chart.SetMouseStatus(0);
    Drag(150, 140, 150, 140);  // data (70, 110)
    Expect(70 - 70 / 1.16, 70 + 210 / 1.16, 110 - 110 / 1.16, 110 + 110 / 1.16);
    chart.BackToLastAxisRegion();
    Drag(150, 140, 151, 140);  // moved one pixel: no zoom
    Expect(0, 280, 0, 220);
    chart.SetMouseStatus(1);
    Drag(150, 140, 150, 140);
    Expect(70 - 70 * 1.16, 70 + 210 * 1.16, 110 - 110 * 1.16, 110 + 110 * 1.16);
    chart.LMouseDown(10, 10);  // outside: the release is no click
    chart.LMouseUp(10, 10);
    chart.MouseWheel(10, 10, 1);
    chart.MouseWheel(150, 140, 0);
    EXPECT_EQ(A::HistorySize(chart), 1u);
}

TEST_F(ChartMouse, WheelRefusesRangesTooSmallTooLargeOrEmpty) {
    for (const double width : {0.00001, 2e10, 0.0}) {
        chart.SetAxisRegion(0, width, 0, 220);
        chart.MouseWheel(150, 140, width > 1 ? -1 : 1);
        chart.MouseWheel(150, 140, width == 0 ? -1 : 0);
        Expect(0, width, 0, 220);
    }
}

TEST_F(ChartMouse, RubberBandZoomsOnTenPixelsAndABackwardDragUndoes) {
    chart.SetMouseStatus(2);
    Drag(100, 100, 109, 200);  // dx is 9
    Expect(0, 280, 0, 220);
    chart.LMouseDown(100, 100);
    chart.MouseMove(500, 5);  // the band's corner stays in the plot
    const QImage band = Render(chart);
    EXPECT_GT(CountColor(band, QRect(100, 31, 1, 68), qRgb(0, 0, 0)), 25);
    EXPECT_GT(CountColor(band, QRect(101, 30, 258, 1), qRgb(0, 0, 0)), 100);
    chart.LMouseUp(110, 110);
    Expect(20, 30, 140, 150);
    Drag(200, 200, 190, 190);
    Expect(0, 280, 0, 220);
}

TEST_F(ChartMouse, PanKeepsTheAnchorUnderThePointerAndRecordsEveryMove) {
    chart.SetMouseStatus(3);
    chart.LMouseDown(150, 140);
    for (int step = 1; step <= 12; ++step) chart.MouseMove(150 + step, 140 - step);
    chart.LMouseUp(162, 128);
    Expect(-12, 268, -12, 208);
    for (int back = 0; back < 10; ++back) chart.BackToLastAxisRegion();
    Expect(-2, 278, -2, 218);  // ten move steps back, not the view before the drag
    chart.MouseMove(300, 100);  // button up: no pan
    Expect(-2, 278, -2, 218);
}

TEST_F(ChartMouse, ReticuleClickSnapsToTheNearestPoint) {
    AddActiveLine();
    chart.SetAxisRegion(0, 2.8, 0, 220);  // pixel 80 + u is X u / 100
    chart.SetMouseStatus(4);
    double x = -1, y = -1;
    Drag(80 + 250, 100, 80 + 250, 100);  // X 2.5: a tie goes right
    EXPECT_EQ(chart.GetVerticalLineXData(x), 1);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(chart.GetVerticalLineYData(y), 1);
    EXPECT_EQ(y, 30);
    Drag(80 + 240, 100, 80 + 240, 100);
    chart.GetVerticalLineXData(x);
    EXPECT_EQ(x, 2);

    // Another mode invalidates the reading; the line stays drawn until mode 5.
    chart.SetMouseStatus(0);
    EXPECT_EQ(chart.GetVerticalLineXData(x), 0);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(chart.GetVerticalLineYData(y), 0);
    const QRect cursorColumn(80 + 200, 31, 1, 218);
    EXPECT_GT(CountColor(Render(chart), cursorColumn, qRgb(0, 0, 0)), 80);
    chart.SetMouseStatus(5);
    EXPECT_EQ(CountColor(Render(chart), cursorColumn, qRgb(0, 0, 0)), 0);
}

TEST_F(ChartMouse, CursorByXAndByStep) {
    AddActiveLine();
    const auto cursor = [&] {
        double x = 0;
        chart.GetVerticalLineXData(x);
        return x;
    };
    chart.SetMouseStatus(4);
    Drag(200, 100, 200, 100);  // to the last point
    chart.SetNearbyXData(1);   // stays on the last point
    EXPECT_EQ(cursor(), 3);
    chart.SetNearbyXData(-1);
    chart.SetNearbyXData(7);  // not a step
    EXPECT_EQ(cursor(), 2);
    chart.SetVerticalLineXData(1.4);
    chart.SetNearbyXData(-1);
    EXPECT_EQ(cursor(), 1);
    chart.SetVerticalLineXData(99);
    EXPECT_EQ(cursor(), 3);
    // Guards a read before the first point: a NaN passes both end tests and
    // the search stopped at index 0.
    chart.SetVerticalLineXData(std::nan(""));
    EXPECT_GE(cursor(), 1);
    EXPECT_LE(cursor(), 3);
}

// The cursor read-out follows new data of its line, and forgets a line that
// is deleted instead of reading its freed memory.
TEST_F(ChartMouse, CursorFollowsItsLineAndIsHiddenWhenTheLineGoes) {
    const double x[3] = {1, 2, 3};
    chart.AddDeviceLine(0, 3, x, L"dev");
    chart.SetActiveSpectrum(0, L"");
    chart.SetMouseStatus(4);
    chart.SetVerticalLineXData(2);
    Drag(200, 100, 200, 100);
    const double y[3] = {4, 5, 6};
    chart.SetDeviceLineYData(0, y);
    double v = 0;
    EXPECT_EQ(chart.GetVerticalLineYData(v), 1);
    EXPECT_EQ(v, 6);
    chart.DeleteDeviceLine(0);
    EXPECT_EQ(chart.GetVerticalLineYData(v), 0);
    chart.AddDeviceLine(0, 1, x, L"dev");
    Render(chart);
    EXPECT_EQ(chart.GetVerticalLineXData(v), 0);
}

TEST_F(ChartMouse, MarkingsAreAddedByXMovedAndReadBack) {
    AddActiveLine();
    const auto marked = [&](bool y = false) {
        std::list<double> values;
        y ? chart.GetMarkingYValues(values) : chart.GetMarkingXValues(values);
        return values;
    };
    EXPECT_EQ(chart.AddMarking(1.0), 1);  // never on the first point
    EXPECT_EQ(chart.AddMarking(1.0), 0);
    EXPECT_EQ(marked(), (std::list<double>{2}));
    chart.MoveMarking(1, 3.0);
    EXPECT_EQ(marked(true), (std::list<double>{30}));
    EXPECT_EQ(chart.AddMarking(2.0), 1);
    chart.MoveMarking(1, 2.0);  // index 1 exists: nothing is deleted
    EXPECT_EQ(marked(), (std::list<double>{2, 3}));
    EXPECT_EQ(chart.AddMarking(50.0), 1);  // beyond the last point: kept, never read
    chart.DeleteMarking(2.00001);
    EXPECT_EQ(marked(), (std::list<double>{2}));
    chart.DeleteAllMarkings();
    EXPECT_TRUE(marked().empty());
    chart.SetActiveSpectrum(-1, L"");  // no active line: nothing to mark
    EXPECT_EQ(chart.AddMarking(2.0), 0);
}

}  // namespace
