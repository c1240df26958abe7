#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "BandQuantities.h"

using namespace quenlix;

namespace {

constexpr double kLambda0 = 694.22;

// A wavelength axis whose step grows along it, as a grating's does, so a
// computation that assumes even steps shows.
std::vector<double> UnevenAxis(double from, int count) {
    std::vector<double> x(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) x[static_cast<std::size_t>(i)] = from + 0.1 * i + 2e-5 * i * i;
    return x;
}

std::vector<double> Sampled(const std::vector<double>& x, const std::function<double(double)>& f) {
    std::vector<double> y;
    for (double v : x) y.push_back(f(v));
    return y;
}

double Gaussian(double x, double centre, double sigma, double height) {
    const double d = (x - centre) / sigma;
    return height * std::exp(-0.5 * d * d);
}

std::vector<double> Compute(const std::vector<TraceBand>& bands, const std::vector<double>& x,
                            const std::vector<double>& y, int xTypeCode = 0) {
    std::vector<double> values(bands.size(), 12345.0);
    ComputeBandValues(bands, xTypeCode, kLambda0, x.data(), y.data(), static_cast<int>(x.size()), values.data());
    return values;
}

// Two Gaussian lines on a sloping background: the straight base between
// band edges far out in the tails takes the background away exactly.
class TwoLines : public ::testing::Test {
protected:
    static constexpr double kCentreA = 650.037, kSigmaA = 1.2, kHeightA = 800;
    static constexpr double kCentreB = 702.5, kSigmaB = 0.8, kHeightB = 300;
    const std::vector<double> x = UnevenAxis(600, 1500);  // 600 … 795 nm
    const std::vector<double> y = Sampled(x, [](double v) {
        return 120 + 0.7 * (v - 600) + Gaussian(v, kCentreA, kSigmaA, kHeightA) +
               Gaussian(v, kCentreB, kSigmaB, kHeightB);
    });
    static TraceBand Around(double centre, double sigma, BandQuantity quantity, int ratioOf = -1) {
        return {centre - 10 * sigma, centre + 10 * sigma, quantity, ratioOf};
    }
    // The highest sample of line A above the background.
    double SampledTopA() const {
        double top = 0;
        for (double v : x) top = std::max(top, Gaussian(v, kCentreA, kSigmaA, kHeightA));
        return top;
    }
};

}  // namespace

TEST_F(TwoLines, QuantitiesMatchTheLinesTheyWereDrawnFrom) {
    const std::vector<TraceBand> bands = {
        Around(kCentreA, kSigmaA, BandQuantity::Integral), Around(kCentreA, kSigmaA, BandQuantity::PeakHeight),
        Around(kCentreA, kSigmaA, BandQuantity::PeakCentre), Around(kCentreA, kSigmaA, BandQuantity::Fwhm)};
    const std::vector<double> v = Compute(bands, x, y);
    EXPECT_NEAR(v[0], kHeightA * kSigmaA * std::sqrt(2 * M_PI), 1e-3);
    EXPECT_NEAR(v[1], SampledTopA(), 1e-6);
    // The parabola through three samples of a Gaussian sits close to its top.
    EXPECT_NEAR(v[2], kCentreA, 0.005);
    EXPECT_NEAR(v[3], 2 * std::sqrt(2 * std::log(2.0)) * kSigmaA, 0.01);
}

TEST_F(TwoLines, RatioDividesTheIntegrals) {
    const std::vector<TraceBand> bands = {Around(kCentreB, kSigmaB, BandQuantity::Ratio, 1),
                                          Around(kCentreA, kSigmaA, BandQuantity::PeakCentre)};
    EXPECT_NEAR(Compute(bands, x, y)[0], (kHeightB * kSigmaB) / (kHeightA * kSigmaA), 1e-6);
}

// Edges between samples: the base is interpolated through the spectrum
// there, so a straight spectrum has neither area nor height in any band.
TEST(BandQuantities, AStraightSpectrumHasNoAreaOrHeightWhereverTheEdgesFall) {
    const std::vector<double> x = UnevenAxis(400, 300);
    const std::vector<double> y = Sampled(x, [](double v) { return 5000 - 3.5 * v; });
    for (const auto& [from, to] : {std::pair{400.0, 420.0}, {401.03, 401.17}, {412.3456, 427.77}}) {
        const std::vector<double> v =
            Compute({{from, to, BandQuantity::Integral}, {from, to, BandQuantity::PeakHeight}}, x, y);
        EXPECT_NEAR(v[0], 0, 1e-9) << from << " … " << to;
        EXPECT_NEAR(v[1], 0, 1e-9) << from << " … " << to;
    }
}

// A parabola's top is found exactly, however the three points are spaced.
TEST(BandQuantities, CentreIsTheTopOfTheParabolaThroughTheHighestPoints) {
    const std::vector<double> x = {10.0, 10.3, 10.5, 11.2, 11.4, 12.9, 13.0};
    const std::vector<double> y = Sampled(x, [](double v) { return 50 - 4 * (v - 11.31) * (v - 11.31); });
    EXPECT_NEAR(Compute({{10.1, 12.95, BandQuantity::PeakCentre}}, x, y)[0], 11.31, 1e-9);
}

TEST(BandQuantities, RubyPressureFollowsTheMaoScaleInNanometresAndMicrometres) {
    const double r1 = 700.31;
    const std::vector<double> nm = UnevenAxis(680, 400);
    const std::vector<double> y = Sampled(nm, [&](double v) { return 200 + Gaussian(v, r1, 0.35, 5000); });
    std::vector<double> um;
    for (double v : nm) um.push_back(v / 1000);
    // P = 1904/7.665 · ((λ/λ0)^7.665 − 1) GPa.
    const double expected = 1904 / 7.665 * (std::pow(r1 / kLambda0, 7.665) - 1);
    EXPECT_NEAR(Compute({{r1 - 3, r1 + 3, BandQuantity::RubyPressure}}, nm, y, 0)[0], expected, 0.05);
    EXPECT_NEAR(Compute({{(r1 - 3) / 1000, (r1 + 3) / 1000, BandQuantity::RubyPressure}}, um, y, 1)[0], expected,
                0.05);
    std::vector<double> pixels;
    for (std::size_t i = 0; i < nm.size(); ++i) pixels.push_back(static_cast<double>(i));
    EXPECT_TRUE(std::isnan(Compute({{10, 300, BandQuantity::RubyPressure}}, pixels, y, 2)[0]))
        << "a pixel axis gives no wavelength";
}

TEST_F(TwoLines, BandsThatCannotGiveAValueGiveNaN) {
    const double lastX = x.back();
    const struct {
        const char* why;
        TraceBand band;
    } cases[] = {
        {"starts before the axis", {590, 660, BandQuantity::Integral}},
        {"ends beyond the axis", {700, lastX + 1, BandQuantity::PeakHeight}},
        {"wholly outside", {900, 950, BandQuantity::Integral}},
        {"reversed", {660, 640, BandQuantity::Integral}},
        {"empty", {650, 650, BandQuantity::Integral}},
        {"not a number", {NAN, 660, BandQuantity::Integral}},
        {"no point inside", {650.001, 650.002, BandQuantity::PeakHeight}},
        // On the rising flank the highest point is the band's last one.
        {"top at the band's end", {kCentreA - 3, kCentreA - 1, BandQuantity::PeakCentre}},
        {"ratio to itself", {640, 660, BandQuantity::Ratio, 0}},
        {"ratio to no band", {640, 660, BandQuantity::Ratio, 3}},
        {"pressure without its line", {kCentreA - 3, kCentreA - 1, BandQuantity::RubyPressure}},
    };
    for (const auto& c : cases) EXPECT_TRUE(std::isnan(Compute({c.band}, x, y)[0])) << c.why;

    // A flat stretch has no area to divide by, and a dip no height to halve.
    const std::vector<double> dip = Sampled(x, [](double v) { return 900 - Gaussian(v, 700, 2, 300); });
    const std::vector<double> v = Compute({{610, 630, BandQuantity::Integral},
                                           {690, 710, BandQuantity::Ratio, 0},
                                           {690, 710, BandQuantity::Fwhm}},
                                          x, dip);
    EXPECT_EQ(v[0], 0);
    EXPECT_TRUE(std::isnan(v[1])) << "ratio by zero";
    EXPECT_TRUE(std::isnan(v[2])) << "FWHM of a dip";

    const TraceBand fine = Around(kCentreA, kSigmaA, BandQuantity::Integral);
    double value = 0;
    ComputeBandValues({fine}, 0, kLambda0, x.data(), y.data(), 1, &value);
    EXPECT_TRUE(std::isnan(value)) << "one point";
    ComputeBandValues({fine}, 0, kLambda0, nullptr, y.data(), 1500, &value);
    EXPECT_TRUE(std::isnan(value)) << "no X";
}

TEST(BandQuantities, ValidBandsAreOneToFourOrderedRangesWithRatiosToOtherBands) {
    const TraceBand plain{1, 2, BandQuantity::Integral};
    EXPECT_TRUE(ValidTraceBands({plain, {3, 4, BandQuantity::Ratio, 0}}));
    EXPECT_FALSE(ValidTraceBands({}));
    EXPECT_FALSE(ValidTraceBands({plain, plain, plain, plain, plain}));
    EXPECT_FALSE(ValidTraceBands({{2, 1, BandQuantity::Integral}}));
    EXPECT_FALSE(ValidTraceBands({{1, INFINITY, BandQuantity::Integral}}));
    EXPECT_FALSE(ValidTraceBands({plain, {3, 4, BandQuantity::Ratio, 1}}));
    EXPECT_FALSE(ValidTraceBands({plain, {3, 4, BandQuantity::Ratio, 2}}));
}
