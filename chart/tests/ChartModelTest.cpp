#include <gtest/gtest.h>

#include <vector>

#include "PlotaraTestAccess.h"

namespace {

using A = PlotaraTestAccess;

using Region = std::array<double, 4>;

TEST(ChartRegion, OrdersBoundsAndRecordsOnlyRealViews) {
    CPlotara chart;
    EXPECT_EQ(RegionOf(chart), (Region{0, 0, 0, 0}));
    chart.SetAxisRegion(1100, 200, 16500, 0);
    EXPECT_EQ(RegionOf(chart), (Region{200, 1100, 0, 16500}));
    EXPECT_EQ(A::HistorySize(chart), 0u);  // the all-zero start is never recorded

    chart.SetAxisRegion(5, 5, 0, 1);  // empty X range: recorded region is the previous one
    chart.SetAxisRegion(0, 1, 0, 1);  // the empty one is not recorded
    EXPECT_EQ(A::HistorySize(chart), 1u);
    chart.BackToLastAxisRegion();
    EXPECT_EQ(RegionOf(chart)[1], 1100);
    EXPECT_EQ(A::XTicks(chart).count, 9);  // ticks follow the restored region
}

TEST(ChartRegion, HistoryKeepsTheTenMostRecentViews) {
    CPlotara chart;
    for (int i = 0; i <= 12; ++i) chart.SetAxisRegion(0, 100 + i, 0, 1);  // the first and twelve more
    EXPECT_EQ(A::HistorySize(chart), 10u);
    for (int back = 11; back >= 2; --back) {
        chart.BackToLastAxisRegion();
        EXPECT_EQ(RegionOf(chart)[1], 100 + back);
    }
    EXPECT_EQ(A::HistorySize(chart), 0u);
    chart.BackToLastAxisRegion();  // empty history: nothing happens
    EXPECT_EQ(RegionOf(chart)[1], 102);
    chart.SetAxisRegion(0, 1, 0, 1);
    chart.DeleteAllAxixRegion();
    EXPECT_EQ(A::HistorySize(chart), 0u);
}

TEST(ChartTitles, FollowTypeAndLanguage) {
    CPlotara chart;
    const auto titles = [&] { return A::XLabel(chart) + QLatin1Char('|') + A::YLabel(chart); };
    EXPECT_EQ(titles(), QString::fromUtf8("波长(纳米，nm)|强度(counts)"));
    EXPECT_EQ(chart.SetXAxisType(6), 0);
    EXPECT_EQ(chart.SetUsingLanguage(2), 1);
    EXPECT_EQ(chart.SetXAxisType(4), 1);
    EXPECT_EQ(titles(), QStringLiteral("Wavenumber(cm-1)|Intensity(counts)"));
    // Japanese titles show, but the stored language stays English.
    EXPECT_EQ(chart.SetUsingLanguage(3), 0);
    EXPECT_EQ(titles(), QString::fromUtf8("波数(cm-1)|強度(counts)"));
    EXPECT_EQ(chart.SetYAxisType(5), 1);
    EXPECT_EQ(titles(), QString::fromUtf8("波数(cm-1)|Decibel(dB)"));
    EXPECT_EQ(chart.SetUsingLanguage(4), 0);  // changes nothing at all
    EXPECT_EQ(chart.SetUsingLanguage(1), 1);
    EXPECT_EQ(titles(), QString::fromUtf8("波數(cm-1)|分貝(dB)"));
}

TEST(ChartLines, DeviceLinesInsertByPositionAndKeepTheirKey) {
    CPlotara chart;
    const double x[3] = {1, 2, 3};
    chart.AddDeviceLine(0, 3, x, L"a");
    chart.AddDeviceLine(1, 2, x, L"b");
    chart.AddDeviceLine(5, 1, x, L"c");  // beyond the list: appended
    chart.AddDeviceLine(0, 3, x, L"d");  // before the first
    std::vector<std::wstring> order;
    for (const ChartLine& l : A::DeviceLines(chart)) order.push_back(l.name);
    EXPECT_EQ(order, (std::vector<std::wstring>{L"d", L"a", L"b", L"c"}));
    EXPECT_EQ(chart.GetActiveLinePixelCount(5, L""), 1);
    EXPECT_EQ(chart.GetActiveLinePixelCount(-1, L""), -1);

    const double y[3] = {4, 5, 6};
    chart.SetDeviceLineYData(1, y);
    chart.SetDeviceLineYData(9, y);  // no such line
    double gx[3] = {}, gy[3] = {};
    EXPECT_EQ(chart.GetActiveLineSpectrumData(1, L"", gx, gy), 2);
    EXPECT_EQ(gy[1], 5);
    EXPECT_EQ(gy[2], 0);  // only pointCount values are copied
    EXPECT_EQ(chart.GetActiveLineSpectrumData(-1, L"none", gx, gy), -1);

    chart.DeleteDeviceLine(0);  // the first line with key 0
    EXPECT_EQ(A::DeviceLines(chart).front().name, L"a");
}

TEST(ChartLines, BaseDeletedLineFollowsTheActiveLine) {
    CPlotara chart;
    EXPECT_EQ(chart.GetPeakDeleteBasePixelCount(), -1);
    const double x[4] = {1, 2, 3, 4}, y[4] = {0, 1, 0, 1};
    chart.AddDeviceLine(0, 4, x, L"dev");
    chart.AddFileLine(0, 3, x, y, L"file");
    chart.SetActiveSpectrum(-1, L"file");
    EXPECT_EQ(chart.GetPeakDeleteBasePixelCount(), 3);
    EXPECT_FALSE(chart.HasPeakDeleteBaseData()) << "zeros until a peak search fills it";
    chart.SetActiveSpectrum(0, L"");
    EXPECT_EQ(chart.GetPeakDeleteBasePixelCount(), 4);
    const double moved[4] = {10, 20, 30, 40};
    chart.SetDeviceLineXData(0, moved);
    double bx[4], by[4];
    int count = 0;
    chart.GetPeakDeleteBaseData(bx, by, count);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(bx[3], 40);

    chart.DeleteDeviceLine(0);  // the active line goes, and its base-deleted copy with it
    EXPECT_EQ(chart.GetPeakDeleteBasePixelCount(), -1);
    chart.SetActiveSpectrum(3, L"");  // no such line
    EXPECT_EQ(chart.GetPeakDeleteBasePixelCount(), -1);
}

}  // namespace
