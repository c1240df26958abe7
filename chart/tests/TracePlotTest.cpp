#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <vector>

#include "TraceDecimation.h"
#include "TracePlot.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The columns worked out point by point: the points in the X range with
// their outside neighbours, grouped by pixel; a column is joined when every
// value between the previous column's last point and its first is finite.
std::vector<TraceColumn> Reference(const PlotMapping& m, const std::vector<double>& x, const std::vector<double>& y) {
    const int n = static_cast<int>(x.size());
    int from = 0, to = n;
    for (int i = 0; i < n; ++i)
        if (x[i] < m.xMin) from = i;
    for (int i = n - 1; i >= 0; --i)
        if (x[i] > m.xMax) to = i + 1;
    std::map<int, std::vector<int>> byPixel;
    for (int i = from; i < to; ++i)
        if (std::isfinite(y[i])) byPixel[m.PixelX(x[i])].push_back(i);
    std::vector<TraceColumn> columns;
    int previousLast = -1;
    for (const auto& [pixel, points] : byPixel) {
        TraceColumn c{pixel, y[points.front()], y[points.back()], y[points.front()], y[points.front()], false};
        for (const int i : points) {
            c.min = std::min(c.min, y[i]);
            c.max = std::max(c.max, y[i]);
        }
        c.joined = previousLast >= 0;
        for (int i = previousLast + 1; previousLast >= 0 && i < points.front(); ++i)
            if (!std::isfinite(y[i])) c.joined = false;
        previousLast = points.back();
        columns.push_back(c);
    }
    return columns;
}

void ExpectSameColumns(const std::vector<TraceColumn>& actual, const std::vector<TraceColumn>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        const TraceColumn &a = actual[i], &e = expected[i];
        EXPECT_EQ(a.pixel, e.pixel) << i;
        EXPECT_EQ(a.first, e.first) << i;
        EXPECT_EQ(a.last, e.last) << i;
        EXPECT_EQ(a.min, e.min) << i;
        EXPECT_EQ(a.max, e.max) << i;
        EXPECT_EQ(a.joined, e.joined) << i;
    }
}

// Dense noisy data with missing values, cut by the view on both sides;
// irregular steps in X, as timestamps of spectra are.
TEST(TraceDecimation, EveryColumnMatchesThePointByPointReference) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> step(0.001, 0.02), value(-50, 50), chance(0, 1);
    std::vector<double> x, y;
    double t = 0;
    for (int i = 0; i < 20000; ++i) {
        x.push_back(t += step(random));
        const double r = chance(random);
        y.push_back(r < 0.01 ? kNaN : r < 0.012 ? INFINITY : value(random));
    }
    TraceDecimator decimator;
    for (const PlotMapping m : {PlotMapping{80, 10, 380, 200, 30, 150, 0, 1},     // cut on both sides
                                PlotMapping{0, 0, 1000, 100, -5, x.back() + 5, 0, 1},  // all, no neighbours
                                PlotMapping{80, 10, 380, 200, 100, 100.5, 0, 1}}) {   // fewer points than columns
        decimator.Decimate(m, x.data(), y.data(), static_cast<int>(x.size()));
        ExpectSameColumns(decimator.Columns(), Reference(m, x, y));
    }
}

TEST(TraceDecimation, OutsideNeighboursCarryTheLineToTheEdgesAndGapsBreakIt) {
    const std::vector<double> x = {0, 1, 2, 3, 4, 5, 6}, y = {1, 2, 3, kNaN, 5, 6, 7};
    const PlotMapping m{0, 0, 400, 100, 1.5, 5.5, 0, 10};  // 100 px per unit, view starts at 1.5
    TraceDecimator decimator;
    decimator.Decimate(m, x.data(), y.data(), 7);
    const auto& c = decimator.Columns();
    ASSERT_EQ(c.size(), 5u);  // x = 1 and x = 6 from outside, 2, 4 and 5; 3 is missing
    EXPECT_EQ(c[0].pixel, -50);
    EXPECT_EQ(c[0].first, 2);
    EXPECT_FALSE(c[0].joined);
    EXPECT_TRUE(c[1].joined);
    EXPECT_FALSE(c[2].joined);  // after the gap
    EXPECT_EQ(c[2].pixel, 250);
    EXPECT_EQ(c[4].pixel, 450);
    EXPECT_TRUE(c[4].joined);

    const std::vector<double> none = {kNaN, kNaN};
    decimator.Decimate(m, x.data(), none.data(), 2);
    EXPECT_TRUE(decimator.Columns().empty());
    decimator.Decimate(m, x.data(), y.data(), 0);
    EXPECT_TRUE(decimator.Columns().empty());
    decimator.Decimate(PlotMapping{0, 0, 400, 100, 2, 2, 0, 1}, x.data(), y.data(), 7);  // no X range
    EXPECT_TRUE(decimator.Columns().empty());
}

// ---- the plot

constexpr int kWidth = 500, kHeight = 400;
constexpr uint32_t kRed = 0x0000FF, kBlue = 0xFF0000;

QImage Render(TracePlot& plot) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    plot.Draw(painter);
    return image;
}

// Rows of the image where the colour appears in pixel column px.
std::vector<int> RowsOf(const QImage& image, int px, uint32_t colorref) {
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
        if (image.pixel(px, y) == ToQColor(colorref).rgb()) rows.push_back(y);
    return rows;
}

struct TwoLines {
    std::vector<double> x, a, b;
    const double* lines[2];
    explicit TwoLines(int n) {
        for (int i = 0; i < n; ++i) {
            x.push_back(i);
            a.push_back(std::sin(i * 0.001));
            b.push_back(1000 + (i % 2));
        }
        lines[0] = a.data();
        lines[1] = b.data();
    }
};

TracePlot MakePlot() {
    TracePlot plot;
    plot.SetPlotRect(kWidth, kHeight);
    plot.SetLineColorList({kRed, kBlue});
    plot.SetGridColor(0xFFFFFF);
    return plot;
}

// Each line keeps to its own lane, and one sample in 100 000 that stands
// out still reaches the top of its lane: decimation keeps every extreme.
TEST(TracePlot, LinesKeepToTheirLanesAndASingleSpikeShows) {
    TwoLines data(100000);
    data.a[70000] = 50;
    TracePlot plot = MakePlot();
    plot.SetData(data.x.data(), 100000, data.lines, 2);
    const QImage image = Render(plot);
    const int middle = (plot.PlotTop() + plot.PlotBottom()) / 2;
    for (int px = plot.PlotLeft() + 1; px < plot.PlotRight(); px += 37) {
        for (const int row : RowsOf(image, px, kRed)) EXPECT_LT(row, middle) << px;
        for (const int row : RowsOf(image, px, kBlue)) EXPECT_GT(row, middle) << px;
        EXPECT_FALSE(RowsOf(image, px, kBlue).empty()) << px;
    }
    PlotMapping m{plot.PlotLeft(), 0, plot.PlotRight(), 1, 0, 99999, 0, 1};
    const std::vector<int> spike = RowsOf(image, m.PixelX(70000), kRed);
    ASSERT_FALSE(spike.empty());
    EXPECT_LT(spike.front(), plot.PlotTop() + 20);
}

TEST(TracePlot, MissingValuesLeaveAGap) {
    TwoLines data(1000);
    for (int i = 400; i < 600; ++i) data.a[i] = kNaN;
    TracePlot plot = MakePlot();
    plot.SetData(data.x.data(), 1000, data.lines, 1);
    const QImage image = Render(plot);
    PlotMapping m{plot.PlotLeft(), 0, plot.PlotRight(), 1, 0, 999, 0, 1};
    EXPECT_TRUE(RowsOf(image, m.PixelX(500), kRed).empty());
    EXPECT_FALSE(RowsOf(image, m.PixelX(300), kRed).empty());
    EXPECT_FALSE(RowsOf(image, m.PixelX(700), kRed).empty());
}

TEST(TracePlot, SpanScrollsWithTheNewestPointAndTheCursorTakesTheNearest) {
    TwoLines data(1000);
    TracePlot plot = MakePlot();
    double min, max;
    plot.SetSpan(300);
    plot.SetData(data.x.data(), 100, data.lines, 2);
    plot.GetXRange(min, max);
    EXPECT_EQ(min, 0);  // shorter than the span: from the first point
    EXPECT_EQ(max, 300);
    plot.SetData(data.x.data(), 1000, data.lines, 2);
    plot.GetXRange(min, max);
    EXPECT_EQ(min, 699);
    EXPECT_EQ(max, 999);
    plot.SetSpan(0);
    plot.GetXRange(min, max);
    EXPECT_EQ(min, 0);

    EXPECT_EQ(plot.CursorPoint(), -1);
    const PlotMapping m{plot.PlotLeft(), 0, plot.PlotRight(), 1, 0, 999, 0, 1};
    plot.SetCursorPixel(m.PixelX(500), 100);
    EXPECT_NEAR(plot.CursorPoint(), 500, 2);
    plot.SetCursorPixel(plot.PlotRight(), 100);
    EXPECT_EQ(plot.CursorPoint(), 999);
    plot.SetCursorPixel(plot.PlotRight() + 5, 100);  // off the plot
    EXPECT_EQ(plot.CursorPoint(), -1);
    plot.SetCursorPixel(m.PixelX(500), 100);
    plot.SetData(nullptr, 0, nullptr, 0);
    EXPECT_EQ(plot.CursorPoint(), -1);
    Render(plot);  // no points, no lines: the frame alone
}

}  // namespace
