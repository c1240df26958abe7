#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "Cie1931Observer.h"
#include "Color.h"

namespace {

using quenlix::color::kCie1931Observer5nm;

struct Chromaticity {
    double x = -1;
    double y = -1;
};

Chromaticity Calc(std::vector<double> wavelength, std::vector<double> intensity) {
    Chromaticity c;
    CColor().CalcColorCoordinates(wavelength.data(), intensity.data(), static_cast<int>(wavelength.size()),
                                  c.x, c.y);
    return c;
}

// Chromaticity of one set of colour-matching values.
Chromaticity Of(double xBar, double yBar, double zBar) {
    const double total = xBar + yBar + zBar;
    return {xBar / total, yBar / total};
}

// The observer row of wavelength nm, interpolated between 5-nm rows.
Chromaticity OfWavelength(int nm) {
    const int j = std::min((nm - 380) / 5, 79);
    const double t = (nm - 380 - 5 * j) / 5.0;
    double f[3];
    for (int k = 0; k < 3; ++k) {
        f[k] = kCie1931Observer5nm[j][k] + t * (kCie1931Observer5nm[j + 1][k] - kCie1931Observer5nm[j][k]);
    }
    return Of(f[0], f[1], f[2]);
}

::testing::AssertionResult Near(Chromaticity actual, Chromaticity expected, double tolerance) {
    if (std::abs(actual.x - expected.x) <= tolerance && std::abs(actual.y - expected.y) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "got (" << actual.x << ", " << actual.y << "), expected ("
                                         << expected.x << ", " << expected.y << ") within " << tolerance;
}

TEST(Color, ObserverTableHoldsThePublishedRows) {
    double sums[3] = {0, 0, 0};
    for (const auto& row : kCie1931Observer5nm) {
        for (int k = 0; k < 3; ++k) sums[k] += row[k];
    }
    EXPECT_NEAR(sums[0], 21.371524, 1e-9);
    EXPECT_NEAR(sums[1], 21.371327, 1e-9);
    EXPECT_NEAR(sums[2], 21.371540, 1e-9);
    EXPECT_EQ(kCie1931Observer5nm[35][1], 1.0);  // ȳ at 555 nm
}

TEST(Color, KnownSpectra) {
    // Flat over 381 … 749 nm: near the equal-energy white point.
    std::vector<double> w, flat;
    for (int nm = 381; nm <= 749; ++nm) {
        w.push_back(nm);
        flat.push_back(7.0);
    }
    EXPECT_TRUE(Near(Calc(w, flat), Chromaticity{0.33334, 0.33336}, 5e-6));

    // Only 555 … 556 nm: the 555-nm row.
    EXPECT_TRUE(Near(Calc({555.0, 555.3, 555.9}, {1, 2, 3}), Chromaticity{0.33736, 0.65885}, 5e-6));
}

// A single line between the 5-nm rows takes the interpolated 1-nm row; the last
// bin (779 nm) lies between the last two rows.
TEST(Color, LinesBetweenTabulatedRowsUseTheInterpolatedRow) {
    for (int nm : {381, 557, 603, 744, 779}) {
        EXPECT_TRUE(Near(Calc({nm + 0.5}, {10}), OfWavelength(nm), 1e-12)) << nm;
    }
}

TEST(Color, SamplesOutsideTheOpenRangeDoNotCount) {
    // Nothing above 380 nm.
    const Chromaticity none = Calc({300, 350, 380.0}, {5, 5, 5});
    EXPECT_EQ(none.x, 0);
    EXPECT_EQ(none.y, 0);

    // 380.0 is left out, 380.4 is in the 380-nm bin; 780 and beyond end it.
    const auto& r380 = kCie1931Observer5nm[0];
    EXPECT_TRUE(Near(Calc({379.0, 380.0, 380.4, 780.0, 800.0}, {1e6, 1e6, 1, 1e6, 1e6}),
                     Of(r380[0], r380[1], r380[2]), 1e-12));
}

TEST(Color, SamplesOfOneBinCountWithTheirMean) {
    const auto& r500 = kCie1931Observer5nm[24];
    const auto& r600 = kCie1931Observer5nm[44];
    // 500.2 and 500.7 are one bin of mean 2; 600.5 is a bin of its own.
    const Chromaticity c = Calc({500.2, 500.7, 600.5}, {1, 3, 2});
    EXPECT_TRUE(
        Near(c, Of(2 * r500[0] + 2 * r600[0], 2 * r500[1] + 2 * r600[1], 2 * r500[2] + 2 * r600[2]), 1e-12));
}

// Out-of-order samples once read table rows outside the table (a sample at or
// below 380 nm after the first one above it); now the bins are the same
// whatever the order.
TEST(Color, SampleOrderDoesNotMatter) {
    const std::vector<double> w = {420.5, 470.1, 470.8, 530.0, 612.3, 700.9};
    const std::vector<double> v = {3, 1, 5, 2, 8, 4};
    const Chromaticity sorted = Calc(w, v);
    EXPECT_TRUE(
        Near(Calc({700.9, 470.8, 300.0, 612.3, 420.5, 530.0, 470.1, 900.0}, {4, 5, 99, 8, 3, 2, 1, 99}),
             sorted, 1e-12));
}

TEST(Color, TheBandFrom750To770IsSetTo5000) {
    std::vector<double> w = {749.9, 750.0, 750.001, 760.0, 769.999, 770.0, 775.0};
    std::vector<double> v = {1, 2, 3, 4, 5, 6, 7};
    double x = 0, y = 0;
    CColor().CalcColorCoordinates(w.data(), v.data(), static_cast<int>(w.size()), x, y);
    EXPECT_EQ(v, (std::vector<double>{1, 2, 5000, 5000, 5000, 6, 7}));
}

TEST(Color, NothingToWeighGivesZeroNotNaN) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const Chromaticity c : {Calc({500, 600}, {0, 0}), Calc({500}, {nan}), Calc({500, 600}, {inf, -inf}),
                                 Calc({nan, nan}, {1, 1})}) {
        EXPECT_EQ(c.x, 0);
        EXPECT_EQ(c.y, 0);
    }

    double x = -1, y = -1;
    CColor().CalcColorCoordinates(nullptr, nullptr, 5, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    double w = 500, v = 1;
    x = y = -1;
    CColor().CalcColorCoordinates(&w, &v, -1, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

}  // namespace
