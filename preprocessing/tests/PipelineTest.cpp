#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "Condira.h"

using ::testing::ElementsAreArray;

namespace {

constexpr int kN = 4;

std::vector<double> Frame(double k) { return {k, 2 * k, 3 * k, 7 * k}; }

std::vector<double> Output(const CCondira& c) {
    std::vector<double> y(c.GetPixelCount());
    c.GetYData(y.data());
    return y;
}

TEST(PipelineTest, BlockAveragingClosesEveryAvgCountFrames) {
    CCondira c(kN);
    c.AddNewSpectrumData(Frame(5).data());
    EXPECT_EQ(c.GetDataNo(), 1);
    EXPECT_THAT(Output(c), ElementsAreArray(Frame(5)));

    ASSERT_EQ(c.SetAvgCount(3), 1);
    // Output after each call: the mean of the last complete block of three.
    const double mean[] = {5, 5, 2, 2, 2, 5, 5, 5, 8};
    for (int call = 1; call <= 9; ++call) {
        c.AddNewSpectrumData(Frame(call).data());
        EXPECT_EQ(c.GetDataNo(), 1 + call / 3) << "call " << call;
        EXPECT_THAT(Output(c), ElementsAreArray(Frame(mean[call - 1]))) << "call " << call;
    }
}

TEST(PipelineTest, SuperpositionSumsThreeAveragesBlockByBlock) {
    CCondira c(kN);
    c.SetAvgCount(2);
    c.SetSuperpositionCount(3);
    for (int call = 1; call <= 12; ++call) {
        c.AddNewSpectrumData(Frame(call).data());
        // Averages 1.5, 3.5, 5.5 sum to 10.5; the next block 7.5, 9.5, 11.5 to 28.5.
        const double sum = call < 6 ? 0 : call < 12 ? 10.5 : 28.5;
        EXPECT_THAT(Output(c), ElementsAreArray(Frame(sum))) << "call " << call;
    }
    EXPECT_EQ(c.GetDataNo(), 6);
}

TEST(PipelineTest, LoweredAvgCountClosesTheRunningBlockEarly) {
    CCondira c(kN);
    c.SetAvgCount(10);
    for (int k = 1; k <= 5; ++k) c.AddNewSpectrumData(Frame(1).data());
    EXPECT_EQ(c.GetNthOfAvgCount(), 5);
    c.SetAvgCount(3);
    c.AddNewSpectrumData(Frame(1).data());
    EXPECT_EQ(c.GetDataNo(), 1);
    EXPECT_EQ(c.GetNthOfAvgCount(), 0);
    EXPECT_THAT(Output(c), ElementsAreArray(Frame(2)));  // six frames divided by 3
}

TEST(PipelineTest, ProgressCountsFramesOfTheWholeBlock) {
    CCondira c(kN);
    c.SetAvgCount(4);
    std::vector<double> seen;
    for (int k = 0; k < 4; ++k) {
        c.AddNewSpectrumData(Frame(1).data());
        seen.push_back(c.GetPercentOfAvgCount());
    }
    EXPECT_THAT(seen, ElementsAreArray({50.0, 75.0, 100.0, 25.0}));
    c.SetAvgCount(2);
    c.SetSuperpositionCount(2);
    c.AddNewSpectrumData(Frame(1).data());
    c.AddNewSpectrumData(Frame(1).data());  // one of two averages in
    EXPECT_DOUBLE_EQ(c.GetPercentOfAvgCount(), 50.0);
}

TEST(PipelineTest, RefusedSettingsLeaveStateAlone) {
    CCondira c(kN);
    c.SetAvgCount(2);
    EXPECT_EQ(c.SetAvgCount(0), 0);
    EXPECT_EQ(c.GetAvgCount(), 2);
    EXPECT_EQ(c.SetSuperpositionCount(-1), 0);
    EXPECT_DOUBLE_EQ(c.GetPercentOfAvgCount(), 50.0);  // superposition still 1
    c.SetSmoothness(3);
    EXPECT_EQ(c.SetSmoothness(-1), 0);
    EXPECT_EQ(c.GetSmoothness(), 3);
    EXPECT_EQ(c.SetSmoothness(0), 1);

    EXPECT_EQ(c.SetYAxisType(1), 0);  // no dark yet
    EXPECT_EQ(c.SaveDarkSpectrum(), 1);
    EXPECT_EQ(c.SetYAxisType(2), 0);  // no reference yet
    EXPECT_EQ(c.SetYAxisType(6), 0);
    EXPECT_EQ(c.GetYAxisType(), 0);
    EXPECT_EQ(c.SaveRefSpectrum(), 1);
    ASSERT_EQ(c.SetYAxisType(2), 1);
    EXPECT_EQ(c.SaveDarkSpectrum(), 0);  // only raw counts are stored
    EXPECT_EQ(c.SaveRefSpectrum(), 0);

    EXPECT_EQ(c.SetXAxisType(6), 0);
    EXPECT_EQ(c.GetXAxisType(), 0);
}

TEST(PipelineTest, RegionsOverTheDisplayWindow) {
    CCondira c(2048);
    std::vector<double> nm(2048), y(2048);
    for (int i = 0; i < 2048; ++i) nm[i] = 200.0 + 0.5 * i, y[i] = (i - 1000) * (i - 1000);
    c.SetWavelengthNm(nm.data());
    double low = -1, high = -1;
    c.GetYRegion(low, high);  // intensity region starts at 0, 0
    EXPECT_EQ(low, 0.0);
    EXPECT_EQ(high, 0.0);
    c.SetYIntensityRegion(0, 65535);
    c.GetYRegion(low, high);
    EXPECT_EQ(high, 65535.0);

    c.GetXRegion(low, high);  // window starts as the whole detector
    EXPECT_EQ(low, 200.0);
    EXPECT_EQ(high, nm[2047]);
    c.SetDisPixelCount(100, 1024);
    c.GetXRegion(low, high);
    EXPECT_EQ(low, nm[100]);
    EXPECT_EQ(high, nm[1123]);

    c.SetNowYData(y.data());
    c.GetNowYRegion(low, high);
    EXPECT_EQ(low, 0.0);
    EXPECT_EQ(high, 900.0 * 900.0);

    c.SetDisPixelCount(5, 0);
    c.GetNowYRegion(low, high);
    EXPECT_EQ(low, 1e201);
    EXPECT_EQ(high, -1e201);
    c.GetXRegion(low, high);  // nothing to report
    EXPECT_EQ(low, 1e201);
}

// Guards an out-of-bounds read: a window past the detector is cut to it.
TEST(PipelineTest, WindowOutsideTheDetectorIsCut) {
    CCondira c(kN);
    c.AddNewSpectrumData(Frame(1).data());
    std::vector<double> y(8, -1.0);
    c.SetDisPixelCount(-3, 100);
    ASSERT_EQ(c.GetYData(y.data()), 1);
    EXPECT_THAT(y, ElementsAreArray({1.0, 2.0, 3.0, 7.0, -1.0, -1.0, -1.0, -1.0}));
    c.SetDisPixelCount(3, 100);
    std::fill(y.begin(), y.end(), -1.0);
    c.GetYData(y.data());
    EXPECT_EQ(y[0], 7.0);
    EXPECT_EQ(y[1], -1.0);
}

}  // namespace
