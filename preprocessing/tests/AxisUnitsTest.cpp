#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Condira.h"

using ::testing::DoubleNear;
using ::testing::ElementsAre;
using ::testing::Pointwise;

namespace {

std::vector<double> XData(const CCondira& c, int count) {
    std::vector<double> x(count);
    c.GetXData(x.data());
    return x;
}

std::vector<double> YData(const CCondira& c, int count) {
    std::vector<double> y(count);
    c.GetYData(y.data());
    return y;
}

TEST(AxisUnitsTest, FiveHundredNanometresInEveryUnit) {
    const std::vector<double> nm = {500, 600, 785};
    CCondira c(3);
    c.SetWavelengthNm(nm.data());
    const std::vector<std::vector<double>> expected = {{500, 600, 785},
                                                       {0.5, 0.6, 0.785},
                                                       {},
                                                       {381901.220, 499654.097, 599584.916},  // reversed
                                                       {12738.854, 16666.667, 20000.0},       // reversed
                                                       {-7261.146, -3927.813, 0.0}};
    for (int code : {0, 1, 3, 4, 5}) {
        ASSERT_EQ(c.SetXAxisType(code), 1);
        EXPECT_THAT(XData(c, 3), Pointwise(DoubleNear(1e-3), expected[code])) << code;
    }
    c.SetExcitationWavelength(500);  // counts from the next SetXAxisType on
    EXPECT_NEAR(XData(c, 3)[0], -7261.146, 1e-3);
    c.SetXAxisType(5);
    EXPECT_EQ(XData(c, 3)[0], 0.0);
}

TEST(AxisUnitsTest, FallingUnitsReverseXAndYOverTheWindow) {
    const std::vector<double> nm = {400, 500, 600, 700, 800, 900}, counts = {10, 11, 12, 13, 14, 15};
    CCondira c(6);
    c.SetWavelengthNm(nm.data());
    c.AddNewSpectrumData(counts.data());
    c.SetDisPixelCount(1, 4);
    EXPECT_THAT(YData(c, 4), ElementsAre(11, 12, 13, 14));
    for (double k : {299792458.0, 1e7}) {
        c.SetXAxisType(k == 1e7 ? 4 : 3);
        EXPECT_THAT(XData(c, 4), ElementsAre(k / 800, k / 700, k / 600, k / 500));
        EXPECT_THAT(YData(c, 4), ElementsAre(14, 13, 12, 11));
    }
}

TEST(AxisUnitsTest, PixelsCountFromTheWindowStart) {
    std::vector<double> nm(40, 500.0);
    CCondira c(40);
    c.SetWavelengthNm(nm.data());
    c.SetDisPixelCount(10, 3);
    c.SetXAxisType(2);
    EXPECT_THAT(XData(c, 3), ElementsAre(0, 1, 2));
    double low = -1, high = -1;
    c.GetXRegion(low, high);
    EXPECT_EQ(low, 0.0);
    EXPECT_EQ(high, 2.0);
}

TEST(AxisUnitsTest, XValuesGiveTheWavelengthsBack) {
    const std::vector<double> nm = {380.25, 512.5, 700.0, 1050.75};
    for (int code : {0, 1, 3, 4, 5}) {
        CCondira from(4), to(4);
        from.SetWavelengthNm(nm.data());
        from.SetXAxisType(code);
        ASSERT_EQ(to.SetXData(code, XData(from, 4).data()), 1) << code;
        EXPECT_EQ(to.GetXAxisType(), code);
        to.SetXAxisType(0);
        EXPECT_THAT(XData(to, 4), Pointwise(DoubleNear(1e-9), nm)) << code;
    }
    CCondira c(4);
    EXPECT_EQ(c.SetXData(2, nm.data()), 0);
    EXPECT_EQ(c.SetXData(9, nm.data()), 0);  // the unknown unit is kept: no Y handed out
    EXPECT_EQ(c.GetYData(std::vector<double>(4).data()), 0);
}

// One frame in Y unit yType after storing dark and reference spectra, the
// frame superposed `superposition` times; also checks the unit's Y region.
std::vector<double> Converted(int yType, const std::vector<double>& dark, const std::vector<double>& ref,
                              const std::vector<double>& frame, int superposition = 1) {
    const int n = static_cast<int>(frame.size());
    CCondira c(n);
    c.AddNewSpectrumData(dark.data());
    c.SaveDarkSpectrum();
    c.AddNewSpectrumData(ref.data());
    c.SaveRefSpectrum();
    EXPECT_EQ(c.SetYAxisType(yType), 1);
    c.SetSuperpositionCount(superposition);
    for (int k = 0; k < superposition; ++k) c.AddNewSpectrumData(frame.data());
    double low = 0, high = 0;
    c.GetYRegion(low, high);
    const double region[][2] = {{0, 0}, {0, 0}, {0, 100}, {0, 100}, {0, 10}, {-10, 50}};
    EXPECT_EQ(low, region[yType][0]);
    EXPECT_EQ(high, region[yType][1]);
    return YData(c, n);
}

TEST(AxisUnitsTest, YUnitsWithTheirGuardsAndClamps) {
    EXPECT_THAT(Converted(1, {100, 200}, {0, 0}, {300, 250}, 2), ElementsAre(400, 100));  // I − S·D
    // Transmission 50 %, 250 % clamped, R = D (denominator 1), negative.
    const std::vector<double> dark(4, 100), ref = {1100, 1100, 100, 100}, frame = {600, 2600, 100.5, 50};
    for (int code : {2, 3}) EXPECT_THAT(Converted(code, dark, ref, frame), ElementsAre(50, 100, 50, 0));
    // Absorbance: n ≤ 0 counts as 1; ratio 1e−6 clamped to 10; ratios e and
    // 2e give −1; d ≤ 0 counts as 1.
    const double e = std::exp(1.0);
    EXPECT_THAT(Converted(4, std::vector<double>(5, 100), {1100, 1100, 1100, 1100, 50},
                          {100, 100.001, 100 + 1000 * e, 100 + 2000 * e, 100.5}),
                Pointwise(DoubleNear(1e-9), {std::log(1000.0), 10.0, -1.0, -1.0, std::log(2.0)}));
}

// Decibels against the integer dark mean never give NaN or infinity: a
// non-positive intensity or dark mean counts as one count.
TEST(AxisUnitsTest, DecibelsStayFinite) {
    EXPECT_THAT(Converted(5, {100, 100, 100, 101.9}, {0, 0, 0, 0}, {1000, 100, 0, -5}),
                Pointwise(DoubleNear(1e-12), {20.0, 0.0, -40.0, -40.0}));
    EXPECT_THAT(Converted(5, {0.9, 0.5}, {0, 0}, {1000, 0}), Pointwise(DoubleNear(1e-12), {60.0, 0.0}));
    EXPECT_THAT(Converted(5, {-300, -100}, {0, 0}, {10, 1}), Pointwise(DoubleNear(1e-12), {20.0, 0.0}));
}

// The dark mean follows the dark spectrum stored last, not the one of the
// first decibel selection.
TEST(AxisUnitsTest, DarkMeanFollowsANewDark) {
    CCondira c(2);
    const std::vector<double> low = {10, 10}, high = {1000, 1000};
    c.AddNewSpectrumData(low.data());
    c.SaveDarkSpectrum();
    ASSERT_EQ(c.SetYAxisType(5), 1);
    ASSERT_EQ(c.SetYAxisType(0), 1);
    c.AddNewSpectrumData(high.data());
    c.SaveDarkSpectrum();
    ASSERT_EQ(c.SetYAxisType(5), 1);
    c.AddNewSpectrumData(high.data());
    EXPECT_THAT(YData(c, 2), ElementsAre(0.0, 0.0));
}

}  // namespace
