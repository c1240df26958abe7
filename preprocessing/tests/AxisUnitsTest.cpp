#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Condira.h"

using ::testing::DoubleNear;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
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
    EXPECT_THAT(XData(c, 3), ElementsAreArray(nm));
    ASSERT_EQ(c.SetXAxisType(1), 1);
    EXPECT_THAT(XData(c, 3), ElementsAre(0.5, 0.6, 0.785));
    c.SetXAxisType(3);  // stored reversed: rising frequency
    EXPECT_THAT(XData(c, 3), Pointwise(DoubleNear(1e-3), {381901.220, 499654.097, 599584.916}));
    c.SetXAxisType(4);
    EXPECT_THAT(XData(c, 3), Pointwise(DoubleNear(1e-3), {12738.854, 16666.667, 20000.0}));
    c.SetXAxisType(5);
    EXPECT_THAT(XData(c, 3), Pointwise(DoubleNear(1e-3), {-7261.146, -3927.813, 0.0}));

    // A new excitation counts from the next SetXAxisType on.
    c.SetExcitationWavelength(500);
    EXPECT_NEAR(XData(c, 3)[0], -7261.146, 1e-3);
    c.SetXAxisType(5);
    EXPECT_EQ(XData(c, 3)[0], 0.0);
    EXPECT_EQ(c.GetExcitationWavelength(), 500.0);
}

TEST(AxisUnitsTest, FallingUnitsReverseXAndYOverTheWindow) {
    const std::vector<double> nm = {400, 500, 600, 700, 800, 900};
    const std::vector<double> counts = {10, 11, 12, 13, 14, 15};
    CCondira c(6);
    c.SetWavelengthNm(nm.data());
    c.AddNewSpectrumData(counts.data());
    c.SetDisPixelCount(1, 4);
    EXPECT_THAT(YData(c, 4), ElementsAre(11, 12, 13, 14));
    for (int code : {3, 4}) {
        c.SetXAxisType(code);
        const double k = code == 3 ? 299792458.0 : 1e7;
        EXPECT_THAT(XData(c, 4), ElementsAre(k / 800, k / 700, k / 600, k / 500)) << code;
        EXPECT_THAT(YData(c, 4), ElementsAre(14, 13, 12, 11)) << code;
        double low = 0, high = 0;
        c.GetXRegion(low, high);
        EXPECT_EQ(low, k / 800);
        EXPECT_EQ(high, k / 500);
    }
}

TEST(AxisUnitsTest, PixelsCountFromTheWindowStart) {
    std::vector<double> nm(40, 500.0);
    CCondira c(40);
    c.SetWavelengthNm(nm.data());
    c.SetDisPixelCount(10, 20);
    c.SetXAxisType(2);
    const std::vector<double> x = XData(c, 20);
    for (int k = 0; k < 20; ++k) EXPECT_EQ(x[k], k);
    double low = -1, high = -1;
    c.GetXRegion(low, high);
    EXPECT_EQ(low, 0.0);
    EXPECT_EQ(high, 19.0);
}

TEST(AxisUnitsTest, XValuesGiveTheWavelengthsBack) {
    const std::vector<double> nm = {380.25, 512.5, 700.0, 1050.75};
    for (int code : {0, 1, 3, 4, 5}) {
        CCondira from(4), to(4);
        from.SetWavelengthNm(nm.data());
        from.SetXAxisType(code);
        const std::vector<double> x = XData(from, 4);
        ASSERT_EQ(to.SetXData(code, x.data()), 1) << code;
        EXPECT_EQ(to.GetXAxisType(), code);
        to.SetXAxisType(code);
        EXPECT_THAT(XData(to, 4), Pointwise(DoubleNear(1e-9), x)) << code;
        to.SetXAxisType(0);
        EXPECT_THAT(XData(to, 4), Pointwise(DoubleNear(1e-9), nm)) << code;
    }
    CCondira c(4);
    EXPECT_EQ(c.SetXData(2, nm.data()), 0);
    // An unknown unit is kept, and then no Y is handed out.
    EXPECT_EQ(c.SetXData(9, nm.data()), 0);
    double y[4];
    EXPECT_EQ(c.GetYData(y), 0);
}

// Output of one frame in Y unit yType after storing dark and reference
// spectra; the frame is superposed `superposition` times.
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
    return YData(c, n);
}

TEST(AxisUnitsTest, DarkSubtractionScalesWithSuperposition) {
    EXPECT_THAT(Converted(1, {100, 200}, {0, 0}, {300, 250}, 2), ElementsAre(400, 100));
}

TEST(AxisUnitsTest, TransmissionIsClampedAndGuardsAnEqualReference) {
    const std::vector<double> dark(4, 100), ref = {1100, 1100, 100, 100}, frame = {600, 2600, 100.5, 50};
    for (int code : {2, 3}) EXPECT_THAT(Converted(code, dark, ref, frame), ElementsAre(50, 100, 50, 0));
}

TEST(AxisUnitsTest, AbsorbanceIsANaturalLogClampedToMinusOneAndTen) {
    const double e = std::exp(1.0);
    const std::vector<double> dark(5, 100), ref = {1100, 1100, 1100, 1100, 50};
    const std::vector<double> frame = {100, 100.001, 100 + 1000 * e, 100 + 2000 * e, 100.5};
    EXPECT_THAT(Converted(4, dark, ref, frame),
                Pointwise(DoubleNear(1e-9), {std::log(1000.0), 10.0, -1.0, -1.0, std::log(2.0)}));
}

// Decibels never give NaN or infinity: a non-positive intensity or dark mean
// counts as one count.
TEST(AxisUnitsTest, DecibelsAgainstTheIntegerDarkMeanStayFinite) {
    EXPECT_THAT(Converted(5, {100, 100, 100, 101.9}, {0, 0, 0, 0}, {1000, 100, 0, -5}),
                Pointwise(DoubleNear(1e-12), {20.0, 0.0, -40.0, -40.0}));
    EXPECT_THAT(Converted(5, {0.9, 0.5}, {0, 0}, {1000, 0}), Pointwise(DoubleNear(1e-12), {60.0, 0.0}));
    EXPECT_THAT(Converted(5, {-300, -100}, {0, 0}, {10, 1}), Pointwise(DoubleNear(1e-12), {20.0, 0.0}));
}

TEST(AxisUnitsTest, FixedYRegionsPerUnit) {
    CCondira c(2);
    c.SaveDarkSpectrum();
    c.SaveRefSpectrum();
    const double expected[][2] = {{0, 0}, {0, 0}, {0, 100}, {0, 100}, {0, 10}, {-10, 50}};
    for (int code = 0; code < 6; ++code) {
        ASSERT_EQ(c.SetYAxisType(code), 1);
        double low = 7, high = 7;
        c.GetYRegion(low, high);
        EXPECT_EQ(low, expected[code][0]) << code;
        EXPECT_EQ(high, expected[code][1]) << code;
    }
}

}  // namespace
