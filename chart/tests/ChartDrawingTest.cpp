#include <gtest/gtest.h>

#include <vector>

#include "PlotaraTestAccess.h"

namespace {

// 400 × 300 image: plot rectangle 80, 30, 360, 250.
constexpr int L = 80, T = 30, R = 360, B = 250;
constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

QRgb Rgb(uint32_t colorref) { return ToQColor(colorref).rgb(); }

// Horizontal line at height y across the whole X range.
void AddFlatLine(CPlotara& chart, int index, double y) {
    const double x[2] = {0, 10};
    chart.AddDeviceLine(index, 2, x, L"line");
    const double ys[2] = {y, y};
    chart.SetDeviceLineYData(index, ys);
}

// One colour sequence runs over the device lines, then the file lines, and
// skips the lines that are not drawn. Rows 195, 129, 63 hold Y 2.5, 5.5, 8.5.
TEST(ChartDrawing, LineColoursCycleOverTheLinesDrawn) {
    CPlotara chart;
    SetUpChart(chart);
    chart.SetLineColorList({kRed, kGreen});
    AddFlatLine(chart, 0, 2.5);
    AddFlatLine(chart, 1, 5.5);
    const double x[2] = {0, 10}, y[2] = {8.5, 8.5};
    chart.AddFileLine(0, 2, x, y, L"file");
    const auto colours = [&] {
        const QImage image = Render(chart);
        return std::vector<QRgb>{image.pixel(205, 195), image.pixel(205, 129), image.pixel(205, 63)};
    };
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_EQ(colours(), (std::vector{Rgb(kRed), Rgb(kGreen), Rgb(kRed)}));
    chart.SetActiveSpectrum(0, L"");
    chart.SetDisplayPeakOriginalSpectrum(false);  // the active line is hidden: colours shift
    EXPECT_EQ(colours(), (std::vector{white, Rgb(kRed), Rgb(kGreen)}));
    chart.SetFileLineDisplay(L"file", false);
    chart.SetLineColorList({});  // no colours: pure red
    EXPECT_EQ(colours(), (std::vector{white, qRgb(255, 0, 0), white}));
}

TEST(ChartDrawing, TickOnTheLeftEdgeGetsALabelButNoGridLine) {
    CPlotara chart;
    SetUpChart(chart);
    chart.SetAxisRegion(200, 1100, 0, 16500);
    chart.SetAxisColor(kBlue);
    chart.SetGridColor(kGreen);
    const QImage image = Render(chart);
    const QRect column(L, T + 1, 1, B - T - 1);
    // Only the horizontal grid lines touch the axis column, one dot each.
    EXPECT_LE(CountColor(image, column, Rgb(kGreen)), 9);
    EXPECT_GT(CountColor(image, column, Rgb(kBlue)), 150);
    EXPECT_GT(CountColor(image, QRect(111, T, 1, B - T), Rgb(kGreen)), 80);  // tick 300
    // The label "200" starts at 80 − 9 below the plot and slopes down to the right.
    EXPECT_GT(CountDark(image, QRect(70, B + 5, 25, 30)), 10);
}

// An empty range would divide by zero: the data layers stay empty, the frame
// and the titles are still drawn.
TEST(ChartDrawing, EmptyRangeDrawsFrameButNoData) {
    CPlotara chart;
    SetUpChart(chart);
    chart.SetAxisColor(kBlue);
    chart.SetLineColorList({kGreen});
    AddFlatLine(chart, 0, 5);
    chart.SetAxisRegion(0, 10, 5, 5);
    const QImage image = Render(chart);
    EXPECT_EQ(CountColor(image, image.rect(), Rgb(kGreen)), 0);
    EXPECT_EQ(image.pixel(L, 100), Rgb(kBlue));
    EXPECT_GT(CountDark(image, QRect(0, 100, 30, 160)), 20);  // Y title

    // The cursor and the markings need only the X axis: they stay on an
    // empty Y range and go with an empty X range.
    const double x[3] = {0, 5, 10}, y[3] = {5, 5, 5};
    chart.AddFileLine(0, 3, x, y, L"file");
    chart.SetActiveSpectrum(-1, L"file");
    chart.AddMarking(1.0);  // point 1, X 5, pixel 220
    chart.SetMouseStatus(4);
    chart.LMouseDown(250, 100);  // X 6.07: the cursor goes to X 5 too
    chart.LMouseUp(250, 100);
    const QRect column(220, T, 1, B - T);
    EXPECT_GT(CountColor(Render(chart), column, qRgb(0, 0, 0)), 60);
    EXPECT_GT(CountDark(Render(chart), QRect(225, T, 60, 14)), 10);  // "(5.000,5.000)"
    chart.SetAxisRegion(5, 5, 0, 10);
    EXPECT_EQ(CountColor(Render(chart), QRect(L + 1, 0, R - L, B), qRgb(0, 0, 0)), 0);
}

}  // namespace

namespace {

// Ten points at X 0..9 with markings at points 1 and 3 and one beyond the end.
void MarkTenPoints(CPlotara& chart) {
    double x[10], y[10];
    for (int i = 0; i < 10; ++i) x[i] = i, y[i] = 5;
    chart.AddFileLine(0, 10, x, y, L"line");
    chart.SetActiveSpectrum(-1, L"line");
    chart.AddMarking(0.5);
    chart.AddMarking(3.0);
    chart.AddMarking(50.0);
}

int DottedColumns(const QImage& image) {
    int columns = 0;
    for (int px = L + 1; px < R; ++px) columns += CountColor(image, QRect(px, T, 1, B - T), qRgb(0, 0, 0)) > 60;
    return columns;
}

TEST(ChartDrawing, MarkingsStandAtTheirPointsWithTheirNumbersAbove) {
    CPlotara chart;
    SetUpChart(chart);
    MarkTenPoints(chart);
    QImage image = Render(chart);
    EXPECT_EQ(DottedColumns(image), 2);  // the marking beyond the end is not drawn
    EXPECT_GT(CountColor(image, QRect(108, T, 1, B - T), qRgb(0, 0, 0)), 60);  // point 1
    EXPECT_GT(CountColor(image, QRect(164, T, 1, B - T), qRgb(0, 0, 0)), 60);  // point 3
    EXPECT_GT(CountDark(image, QRect(100, T - 26, 16, 26)), 10);  // "0" and "▼" above point 1

    // Frequency runs against pixel order: the marks stand mirrored.
    chart.SetXAxisType(3);
    image = Render(chart);
    EXPECT_GT(CountColor(image, QRect(304, T, 1, B - T), qRgb(0, 0, 0)), 60);  // point 8
    EXPECT_GT(CountColor(image, QRect(248, T, 1, B - T), qRgb(0, 0, 0)), 60);  // point 6

    chart.SetActiveSpectrum(-1, L"");  // markings belong to the active line only
    EXPECT_EQ(DottedColumns(Render(chart)), 0);
}

// A flat device line over the points 0 … 10 at X 0 … 10.
void AddElevenPointLine(CPlotara& chart, int index, double y) {
    double x[11], ys[11];
    for (int i = 0; i < 11; ++i) x[i] = i, ys[i] = y;
    chart.AddDeviceLine(index, 11, x, L"line");
    chart.SetDeviceLineYData(index, ys);
}

// Saturated stretches lie as bands in their line's colour along the top of
// the plot, one row per drawn line, over the stretch's X (28 px per unit
// here); a single point stays visible; stretches outside the line are left
// out; frequency axes mirror the points, as markings.
TEST(ChartDrawing, SaturatedStretchesAreBandsInTheLineColourAtTheTop) {
    CPlotara chart;
    SetUpChart(chart);
    chart.SetLineColorList({kRed, kGreen});
    AddElevenPointLine(chart, 0, 2.5);
    AddElevenPointLine(chart, 1, 5.5);
    const PointStretch first[] = {{2, 4}, {9, 9}, {5, 11}, {-1, 0}, {7, 6}};
    chart.SetDeviceLineSaturation(0, first, 5);
    const PointStretch second[] = {{0, 1}};
    chart.SetDeviceLineSaturation(1, second, 1);
    chart.SetDeviceLineSaturation(7, second, 1);  // no such line: nothing happens
    const QRgb white = qRgb(255, 255, 255);
    const QRect firstRow(L, T + 1, R - L + 1, 5), secondRow(L, T + 7, R - L + 1, 5);

    QImage image = Render(chart);
    EXPECT_EQ(image.pixel(164, T + 2), Rgb(kRed));    // X 3, inside 2 … 4
    EXPECT_EQ(image.pixel(137, T + 5), Rgb(kRed));    // X 2
    EXPECT_EQ(image.pixel(191, T + 1), Rgb(kRed));    // X 4
    EXPECT_EQ(image.pixel(328, T + 2), Rgb(kRed));    // the single point 9, widened
    EXPECT_EQ(image.pixel(336, T + 2), Rgb(kRed));
    // Columns off the grid lines, which stand at whole X.
    EXPECT_EQ(image.pixel(234, T + 2), white);        // X 5.5: the stretch past the end is left out
    EXPECT_EQ(image.pixel(122, T + 2), white);        // X 1.5
    EXPECT_EQ(image.pixel(178, T + 8), white);        // not in the second line's row
    EXPECT_EQ(image.pixel(94, T + 8), Rgb(kGreen));   // X 0.5 of the second line
    EXPECT_EQ(image.pixel(94, T + 2), white);
    EXPECT_EQ(CountColor(image, firstRow, Rgb(kRed)), 5 * (57 + 9));
    EXPECT_EQ(image.pixel(178, T + 6), white) << "one pixel apart";

    chart.SetXAxisType(3);  // point i lies at X 10 − i
    image = Render(chart);
    EXPECT_EQ(image.pixel(276, T + 2), Rgb(kRed));  // X 7, the mirror of point 3
    EXPECT_EQ(image.pixel(178, T + 2), white);
    EXPECT_EQ(image.pixel(346, T + 8), Rgb(kGreen));  // X 9.5

    chart.SetDeviceLineSaturation(0, first, 0);
    chart.SetDeviceLineSaturation(1, nullptr, 1);
    image = Render(chart);
    EXPECT_EQ(CountColor(image, firstRow, Rgb(kRed)) + CountColor(image, secondRow, Rgb(kGreen)), 0);
}

}  // namespace
