#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Algorithm.h"

namespace {

TEST(DoolittleSolveEquations, SolvesHandWorkedSystem) {
    // 2x + y - z = 8, -3x - y + 2z = -11, -2x + y + 2z = -3  →  x = 2, y = 3, z = -1
    const double a[9] = {2, 1, -1, -3, -1, 2, -2, 1, 2};
    const double b[3] = {8, -11, -3};
    double x[3] = {};
    EXPECT_EQ(DoolittleSolveEquations(a, b, 3, x), 1);
    EXPECT_NEAR(x[0], 2.0, 1e-12);
    EXPECT_NEAR(x[1], 3.0, 1e-12);
    EXPECT_NEAR(x[2], -1.0, 1e-12);
}

TEST(DoolittleSolveEquations, IdentityCopiesAndEmptyWritesNothing) {
    const double identity[4] = {1, 0, 0, 1};
    const double b[2] = {4.5, -7.25};
    double x[2] = {};
    DoolittleSolveEquations(identity, b, 2, x);
    EXPECT_EQ(x[0], 4.5);
    EXPECT_EQ(x[1], -7.25);

    double untouched = 99.0;
    EXPECT_EQ(DoolittleSolveEquations(identity, b, 0, &untouched), 1);
    EXPECT_EQ(DoolittleSolveEquations(nullptr, nullptr, -3, nullptr), 1);
    EXPECT_EQ(untouched, 99.0);
}

TEST(DoolittleSolveEquations, ZeroPivotIsNotDetectedButReported) {
    // No pivoting: a zero leading element gives non-finite results, still 1.
    const double a[4] = {0, 1, 1, 0};
    const double b[2] = {1, 1};
    double x[2] = {};
    EXPECT_EQ(DoolittleSolveEquations(a, b, 2, x), 1);
    EXPECT_FALSE(std::isfinite(x[0]) && std::isfinite(x[1]));
}

// A wavelength polynomial of the kind stored in spectrometers.
double Cubic(double p) { return 340.0 + 0.21 * p - 1.3e-5 * p * p + 2.0e-10 * p * p * p; }

TEST(MultiOrderLeastSquareNoWeight, RecoversCubicFromExactSamples) {
    std::vector<double> x, y;
    for (double p = -3; p <= 3; p += 0.5) {
        x.push_back(p);
        y.push_back(1.5 - 2.0 * p + 0.25 * p * p + 0.125 * p * p * p);
    }
    double c[4] = {};
    EXPECT_EQ(MultiOrderLeastSquareNoWeight(x.data(), y.data(), static_cast<int>(x.size()), 3, c), 1);
    EXPECT_NEAR(c[0], 1.5, 1e-12);
    EXPECT_NEAR(c[1], -2.0, 1e-12);
    EXPECT_NEAR(c[2], 0.25, 1e-12);
    EXPECT_NEAR(c[3], 0.125, 1e-12);
}

TEST(MultiOrderLeastSquareNoWeight, FitsPixelAxisAsWavelengthCalibrationDoes) {
    // Calibration pairs lines marked across a 4096-pixel detector: the fitted
    // polynomial must give back the wavelengths of every pixel.
    std::vector<double> x, y;
    for (double p = 0; p <= 4095; p += 4095.0 / 11) {
        x.push_back(p);
        y.push_back(Cubic(p));
    }
    double c[4] = {};
    MultiOrderLeastSquareNoWeight(x.data(), y.data(), static_cast<int>(x.size()), 3, c);
    const double expected[4] = {340.0, 0.21, -1.3e-5, 2.0e-10};
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(c[k], expected[k], std::fabs(expected[k]) * 1e-9) << "c" << k;
    for (int p = 0; p < 4096; p += 7) {
        const double fitted = c[0] + c[1] * p + c[2] * p * p + c[3] * p * p * p;
        EXPECT_NEAR(fitted, Cubic(p), Cubic(p) * 1e-9) << "pixel " << p;
    }
}

TEST(MultiOrderLeastSquareNoWeight, OrderOneMatchesStraightLineAndInterpolatesMinimalSets) {
    const double x[5] = {1, 2, 4, 7, 11};
    const double y[5] = {2.1, 3.9, 8.2, 13.8, 22.3};
    double line[2] = {}, poly[2] = {};
    EXPECT_EQ(LinearLeastSquareNoWeight(x, y, 5, line), 1);
    MultiOrderLeastSquareNoWeight(x, y, 5, 1, poly);
    EXPECT_NEAR(line[0], poly[0], 1e-12);
    EXPECT_NEAR(line[1], poly[1], 1e-12);
    // Least squares by hand: slope = Sxy/Sxx about the means.
    EXPECT_NEAR(line[1], 133.1 / 66.0, 1e-12);
    EXPECT_NEAR(line[0], 10.06 - line[1] * 5.0, 1e-12);

    // Exactly order + 1 distinct points: the fit passes through each one.
    double quad[3] = {};
    MultiOrderLeastSquareNoWeight(x, y, 3, 2, quad);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(quad[0] + quad[1] * x[i] + quad[2] * x[i] * x[i], y[i], 1e-12);
}

}  // namespace
