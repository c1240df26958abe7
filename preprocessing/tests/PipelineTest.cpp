#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "Condira.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

std::vector<double> Frame(double k) { return {k, 2 * k, 3 * k, 7 * k}; }

std::vector<double> Output(const CCondira& c) {
    std::vector<double> y(c.GetPixelCount());
    c.GetYData(y.data());
    return y;
}

TEST(PipelineTest, BlockAveragingAndProgress) {
    CCondira c(4);
    c.AddNewSpectrumData(Frame(5).data());
    EXPECT_EQ(c.GetDataNo(), 1);
    ASSERT_EQ(c.SetAvgCount(3), 1);
    // Output after each call: the mean of the last complete block of three.
    const double mean[] = {5, 5, 2, 2, 2, 5, 5, 5, 8};
    const double percent[] = {66.7, 100, 33.3};
    for (int call = 1; call <= 9; ++call) {
        c.AddNewSpectrumData(Frame(call).data());
        EXPECT_EQ(c.GetDataNo(), 1 + call / 3) << "call " << call;
        EXPECT_THAT(Output(c), ElementsAreArray(Frame(mean[call - 1]))) << "call " << call;
        EXPECT_NEAR(c.GetPercentOfAvgCount(), percent[(call - 1) % 3], 0.05);
    }
}

TEST(PipelineTest, SuperpositionSumsThreeAveragesBlockByBlock) {
    CCondira c(4);
    c.SetAvgCount(2);
    c.SetSuperpositionCount(3);
    for (int call = 1; call <= 12; ++call) {
        c.AddNewSpectrumData(Frame(call).data());
        // Averages 1.5, 3.5, 5.5 sum to 10.5; the next block 7.5, 9.5, 11.5 to 28.5.
        const double sum = call < 6 ? 0 : call < 12 ? 10.5 : 28.5;
        EXPECT_THAT(Output(c), ElementsAreArray(Frame(sum))) << "call " << call;
        EXPECT_EQ(c.GetSuperpositionIndex(), (call / 2) % 3) << "call " << call;
    }
    EXPECT_DOUBLE_EQ(c.GetPercentOfAvgCount(), 100.0 / 6);
}

TEST(PipelineTest, LoweredAvgCountClosesTheRunningBlockEarly) {
    CCondira c(4);
    c.SetAvgCount(10);
    for (int k = 1; k <= 5; ++k) c.AddNewSpectrumData(Frame(1).data());
    c.SetAvgCount(3);
    c.AddNewSpectrumData(Frame(1).data());
    EXPECT_EQ(c.GetDataNo(), 1);
    EXPECT_EQ(c.GetNthOfAvgCount(), 0);
    EXPECT_THAT(Output(c), ElementsAreArray(Frame(2)));  // six frames divided by 3
}

TEST(PipelineTest, RefusalsLeaveStateAlone) {
    CCondira c(4);
    c.SetAvgCount(2);
    EXPECT_EQ(c.SetAvgCount(0), 0);
    EXPECT_EQ(c.SetSuperpositionCount(-1), 0);
    EXPECT_DOUBLE_EQ(c.GetPercentOfAvgCount(), 50.0);  // still 2 × 1
    c.SetSmoothness(3);
    EXPECT_EQ(c.SetSmoothness(-1), 0);
    EXPECT_EQ(c.GetSmoothness(), 3);
    EXPECT_EQ(c.SetSmoothness(0), 1);
    EXPECT_EQ(c.SetXAxisType(6), 0);
    EXPECT_EQ(c.GetXAxisType(), 0);

    EXPECT_EQ(c.SetYAxisType(1), 0);  // no dark yet
    EXPECT_EQ(c.SaveDarkSpectrum(), 1);
    EXPECT_EQ(c.SetYAxisType(2), 0);  // no reference yet
    EXPECT_EQ(c.GetYAxisType(), 0);
    EXPECT_EQ(c.SaveRefSpectrum(), 1);
    ASSERT_EQ(c.SetYAxisType(1), 1);
    c.AddNewSpectrumData(Frame(3).data());
    c.AddNewSpectrumData(Frame(3).data());  // closes a block of two
    ASSERT_EQ(c.SetYAxisType(2), 1);
    EXPECT_THAT(Output(c), ElementsAreArray(Frame(3)));  // the new unit waits for the next frame
    EXPECT_EQ(c.SaveDarkSpectrum(), 0);  // only raw counts are stored
    EXPECT_EQ(c.SaveRefSpectrum(), 0);
    ASSERT_EQ(c.SetYAxisType(1), 1);
    c.AddNewSpectrumData(Frame(3).data());
    EXPECT_THAT(Output(c), ElementsAreArray(Frame(3)));  // the dark stored first (zeros) is kept
}

TEST(PipelineTest, RegionsOverTheDisplayWindow) {
    CCondira c(2048);
    std::vector<double> nm(2048), y(2048);
    for (int i = 0; i < 2048; ++i) nm[i] = 200.0 + 0.5 * i, y[i] = (i - 1000) * (i - 1000);
    c.SetWavelengthNm(nm.data());
    double low = -1, high = -1;
    c.GetYRegion(low, high);  // the intensity region starts at 0, 0
    EXPECT_EQ(high, 0.0);
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
}

// Guards an out-of-bounds read: a window past the detector is cut to it.
TEST(PipelineTest, WindowOutsideTheDetectorIsCut) {
    CCondira c(4);
    c.AddNewSpectrumData(Frame(1).data());
    std::vector<double> y(6, -1.0);
    c.SetDisPixelCount(-3, 100);
    c.GetYData(y.data());
    EXPECT_THAT(y, ElementsAre(1, 2, 3, 7, -1, -1));
    c.SetDisPixelCount(3, 100);
    c.GetYData(y.data());
    EXPECT_THAT(y, ElementsAre(7, 2, 3, 7, -1, -1));
}

}  // namespace
