#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Algorithm.h"

namespace {

double Cubic(double t) { return 2.0 - 0.5 * t + 0.3 * t * t - 0.02 * t * t * t; }
double CubicSlope(double t) { return -0.5 + 0.6 * t - 0.06 * t * t; }

TEST(CubicSplineInterpolation, ClampedSplineReproducesCubicIncludingExtrapolation) {
    const std::vector<double> knots = {0.0, 1.0, 2.5, 3.0, 5.0, 8.0};
    std::vector<double> values;
    for (double k : knots) values.push_back(Cubic(k));
    std::vector<double> queries;
    for (double t = -2.0; t <= 10.0; t += 0.125) queries.push_back(t);
    std::vector<double> result(queries.size());
    EXPECT_EQ(CubicSplineInterpolation(knots.data(), values.data(), 6, CubicSlope(0.0), CubicSlope(8.0),
                                       queries.data(), static_cast<int>(queries.size()), result.data()),
              1);
    for (size_t i = 0; i < queries.size(); ++i) EXPECT_NEAR(result[i], Cubic(queries[i]), 1e-10) << queries[i];
}

TEST(CubicSplineInterpolation, KnotQueriesReturnKnotsAndLinesStayLines) {
    const double x[5] = {0, 10, 20, 35, 50};
    const double y[5] = {3, -1, 4, 1, 5};
    double out[5] = {};
    CubicSplineInterpolation(x, y, 5, 0.0, 0.0, x, 5, out);
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(out[i], y[i], 1e-12);

    const double lx[3] = {1, 2, 4};
    const double ly[3] = {5, 7, 11};  // y = 2x + 3
    const double t[4] = {-5, 1.5, 3, 9};
    double lout[4] = {};
    CubicSplineInterpolation(lx, ly, 3, 2.0, 2.0, t, 4, lout);
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(lout[i], 2 * t[i] + 3, 1e-12);
}

TEST(CubicSplineInterpolation, DescendingQueryStaysOnLaterInterval) {
    // The interval index only moves forward: after 4.5 the query 0.5 is
    // evaluated on the cubic of the last interval, i.e. extrapolated from it.
    const double x[4] = {0, 1, 3, 5};
    const double y[4] = {0, 1, 0, 1};  // no single cubic: each piece differs
    double ordered[1] = {};
    const double descending[2] = {4.5, 0.5};
    double both[2] = {};
    CubicSplineInterpolation(x, y, 4, 0.0, 10.0, descending, 2, both);
    const double late[2] = {4.5, 4.6};
    double reference[2] = {};
    CubicSplineInterpolation(x, y, 4, 0.0, 10.0, late, 2, reference);
    EXPECT_EQ(both[0], reference[0]);
    // Extrapolating the [3, 5] piece down to 0.5 differs from the [0, 1] piece.
    const double early[1] = {0.5};
    CubicSplineInterpolation(x, y, 4, 0.0, 10.0, early, 1, ordered);
    EXPECT_GT(std::fabs(both[1] - ordered[0]), 1e-6);
}

TEST(LagrangeInterpolation, OrdersOneAndTwoAndRefusal) {
    const double x[3] = {1, 2, 4};
    const double y[3] = {1, 4, 16};  // y = x²
    const double t[2] = {3, 0};
    double out[2] = {-1, -1};
    EXPECT_EQ(LagrangeInterpolation(x, y, 2, t, 2, out), 1);
    EXPECT_NEAR(out[0], 9.0, 1e-12);
    EXPECT_NEAR(out[1], 0.0, 1e-12);
    EXPECT_EQ(LagrangeInterpolation(x, y, 1, t, 2, out), 1);
    EXPECT_NEAR(out[0], 7.0, 1e-12);  // the chord through (1,1) and (2,4)
    double untouched[2] = {-1, -1};
    EXPECT_EQ(LagrangeInterpolation(x, y, 3, t, 2, untouched), 0);
    EXPECT_EQ(LagrangeInterpolation(x, y, 0, t, 2, untouched), 0);
    EXPECT_EQ(untouched[0], -1);
    EXPECT_EQ(untouched[1], -1);
}

}  // namespace
