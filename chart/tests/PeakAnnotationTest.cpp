#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "PeakLabelLayout.h"
#include "PeakMarkings.h"
#include "PlotaraTestAccess.h"

namespace {

using A = PlotaraTestAccess;

TEST(PeakMarkings, PositionsBecomePointsAndMergeInOrder) {
    std::vector<int> markings;
    const double near[2] = {41.85, 41.75};
    MergePeakMarkings(markings, near, 2, 100);
    EXPECT_EQ(markings, (std::vector<int>{41, 42}));

    markings = {10, 50};
    const double peaks[3] = {5, 30, 70};
    MergePeakMarkings(markings, peaks, 3, 100);
    EXPECT_EQ(markings, (std::vector<int>{5, 10, 30, 50, 70}));
    MergePeakMarkings(markings, peaks, 3, 100);  // nothing twice
    EXPECT_EQ(markings.size(), 5u);
    const double off[3] = {-3, 100, std::nan("")};
    MergePeakMarkings(markings, off, 3, 100);
    EXPECT_EQ(markings.size(), 5u);
}

TEST(PeakLabelLayout, FlatLabelsStackDownSteepOnesToTheRight) {
    const QPoint at(100, 50);
    EXPECT_EQ(NextPeakLabelPoint(at, 21), QPoint(100, 62));
    EXPECT_EQ(NextPeakLabelPoint(at, 30), QPoint(100, 65));
    EXPECT_EQ(NextPeakLabelPoint(at, 76), QPoint(115, 50));
    EXPECT_EQ(NextPeakLabelPoint(at, 80), QPoint(112, 50));
}

// 400 × 300 chart over 0..200 × 0..1000 with one line: a Gaussian of height
// 600 at X 120 on a base rising from 100 to 300.
class PeakLayer : public ::testing::Test {
protected:
    static constexpr int kPoints = 201;
    void SetUp() override {
        chart.SetPlotaraRect(400, 300);
        chart.SetAxisRegion(0, 200, 0, 1000);
        chart.SetLineColorList({0xA0FFA0});  // light, so that only text counts as dark
        for (int i = 0; i < kPoints; ++i) {
            x[i] = i;
            y[i] = 100 + i + 600 * std::exp(-(i - 120.0) * (i - 120.0) / (2 * 4.0 * 4.0));
        }
        chart.AddDeviceLine(0, kPoints, x, L"dev");
        chart.SetDeviceLineYData(0, y);
        chart.SetActiveSpectrum(0, L"");
        chart.SetIntensityRegion(100);
        chart.SetAotuSearchPeak(true);
    }
    // Dotted black columns in the plot: peak lines, cursor, markings.
    int MarkColumns(const QImage& image) {
        int n = 0;
        for (int px = 81; px < 360; ++px) n += CountColor(image, QRect(px, 30, 1, 220), qRgb(0, 0, 0)) > 20;
        return n;
    }
    double x[kPoints], y[kPoints];
    CPlotara chart;
};

TEST_F(PeakLayer, PeakLineStandsAtThePeakAndTheBaseIsRemoved) {
    EXPECT_FALSE(chart.HasPeakDeleteBaseData());
    const QImage image = Render(chart);
    EXPECT_TRUE(chart.HasPeakDeleteBaseData());
    EXPECT_EQ(MarkColumns(image), 1);
    EXPECT_GT(CountColor(image, QRect(80 + 168, 30, 1, 220), qRgb(0, 0, 0)), 20);  // X 120 → pixel 248
    double bx[kPoints], by[kPoints];
    int count = 0;
    chart.GetPeakDeleteBaseData(bx, by, count);
    ASSERT_EQ(count, kPoints);
    EXPECT_NEAR(by[120], 600, 30);
    EXPECT_NEAR(by[20], 0, 30);

    // On the base-deleted line the mark starts at the height above the base
    // (600), here below the region: it runs up from under the plot to B.
    chart.SetDisplayPeakOriginalSpectrum(false);
    chart.SetDisplayPeakDeleteBase(true);
    chart.SetAxisRegion(0, 200, 700, 1000);
    EXPECT_GT(CountColor(Render(chart), QRect(248, 251, 1, 4), qRgb(0, 0, 0)), 0);
    chart.SetDisplayPeakOriginalSpectrum(true);
    chart.SetDisplayPeakDeleteBase(false);
    chart.SetAxisRegion(0, 200, 0, 1000);

    chart.SetDisplayPeakVerticalLine(false);
    EXPECT_EQ(MarkColumns(Render(chart)), 0);
    chart.SetDisplayPeakVerticalLine(true);
    chart.SetAotuSearchPeak(false);
    EXPECT_EQ(MarkColumns(Render(chart)), 0);
}

TEST_F(PeakLayer, NoSearchForYTypesOtherThanIntensity) {
    chart.SetYAxisType(4);
    EXPECT_EQ(MarkColumns(Render(chart)), 0);
    double bx[kPoints], by[kPoints];
    int count = 0;
    chart.GetPeakDeleteBaseData(bx, by, count);
    EXPECT_EQ(count, kPoints);
    EXPECT_EQ(by[120], 0);  // not refreshed
}

TEST_F(PeakLayer, LabelsFollowTheOptionsAndTheAngle) {
    chart.SetDisplayPeakX(true);
    chart.SetDisplayPeakHeight(true);
    chart.SetDisplayPeakFwhm(true);
    const QImage flat = Render(chart);
    chart.SetPeakInfoAngle(91);
    EXPECT_EQ(A::PeakAngle(chart), 0);
    chart.SetPeakInfoAngle(90);
    EXPECT_EQ(A::PeakAngle(chart), 90);
    EXPECT_NE(Render(chart), flat);
    EXPECT_GT(CountDark(flat, QRect(250, 30, 100, 60)), 40);  // three rows right of the peak line
    chart.SetDisplayPeakFwhm(false);
    EXPECT_LT(CountDark(Render(chart), QRect(250, 30, 100, 60)), CountDark(flat, QRect(250, 30, 100, 60)));
}

TEST_F(PeakLayer, MarkingsAtPeaksAreAddedOnce) {
    chart.AddMakringsAtPeaks();
    chart.AddMakringsAtPeaks();
    std::list<double> xs;
    chart.GetMarkingXValues(xs);
    EXPECT_EQ(xs, (std::list<double>{120}));

    // A drawn peak sets the peak text colour even without labels, and the
    // marking's "▼" and number above the plot take it; without peaks they
    // keep the title colour.
    chart.SetWordColor(0xFF0000);
    const QRect above(238, 4, 20, 25);
    const QImage withPeaks = Render(chart);
    EXPECT_GT(CountColor(withPeaks, above, qRgb(0, 0, 0)), 5);
    EXPECT_EQ(CountColor(withPeaks, above, qRgb(0, 0, 255)), 0);
    chart.SetAotuSearchPeak(false);
    EXPECT_GT(CountColor(Render(chart), above, qRgb(0, 0, 255)), 5);
}

// LIBS names take the place of the read-out cursor and the peak labels.
TEST_F(PeakLayer, LibsNamesReplaceCursorAndPeaks) {
    chart.SetMouseStatus(4);
    chart.LMouseDown(200, 100);
    chart.LMouseUp(200, 100);
    ASSERT_EQ(MarkColumns(Render(chart)), 2);
    const double lx[3] = {50, 100, 150}, ly[3] = {500, 1500, 500};
    const std::wstring names[3] = {L"Fe I", L"Ca II", L"Na I"};
    chart.SetLibsPeaksInfo(lx, ly, names, 3);
    chart.SetDisplayLibs(true);
    const QImage image = Render(chart);
    EXPECT_EQ(MarkColumns(image), 0);
    EXPECT_GT(CountDark(image, QRect(140, 125, 30, 20)), 10);  // "Fe I" at X 50
    EXPECT_EQ(CountDark(image, QRect(81, 31, 278, 60)), 0);    // "Ca II" lies above the region

    std::vector<double> many(5000, 1.0);
    std::vector<std::wstring> manyNames(5000, L"x");
    chart.SetLibsPeaksInfo(many.data(), many.data(), manyNames.data(), 5000);  // keeps 1000
    chart.SetLibsPeaksInfo(nullptr, nullptr, nullptr, 3);
    Render(chart);
}

}  // namespace
