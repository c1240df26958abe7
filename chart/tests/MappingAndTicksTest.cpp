#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "AxisTicks.h"
#include "PlotMapping.h"

namespace {

void ExpectTicks(const AxisTicks& t, double first, double step, int count, int decimals) {
    ASSERT_EQ(t.count, count);
    EXPECT_EQ(t.decimals, decimals);
    for (int i = 0; i < count; ++i) EXPECT_NEAR(t.values[i], first + i * step, step * 1e-9) << i;
}

TEST(AxisTicks, StepIsLeadingDigitTimesPowerOfTenAndStopsBelowMax) {
    ExpectTicks(ComputeAxisTicks(200, 1100, 8), 200, 100, 9, 0);     // 1100 itself is not a tick
    ExpectTicks(ComputeAxisTicks(0, 16500, 7), 0, 2000, 9, 0);       // r ≈ 2357
    ExpectTicks(ComputeAxisTicks(0.5, 0.9, 8), 0.5, 0.05, 8, 2);     // r = 0.05
    ExpectTicks(ComputeAxisTicks(-35, 35, 7), -30, 10, 7, 0);        // first multiple at or above min
    ExpectTicks(ComputeAxisTicks(3.75, 5.75, 8), 3.8, 0.2, 10, 1);  // r = 0.25: step 0.2
}

TEST(AxisTicks, EmptyTinyHugeOrNonFiniteRangesGetNoTicks) {
    EXPECT_EQ(ComputeAxisTicks(5, 5, 8).count, 0);
    EXPECT_EQ(ComputeAxisTicks(0, 1e-9, 8).count, 0);
    EXPECT_EQ(ComputeAxisTicks(0, 1e12, 8).count, 0);
    EXPECT_EQ(ComputeAxisTicks(0, std::numeric_limits<double>::quiet_NaN(), 8).count, 0);
    EXPECT_EQ(ComputeAxisTicks(0, std::numeric_limits<double>::infinity(), 8).count, 0);
    // Guards a hang: at this magnitude k + 1 == k, so walking to the first
    // multiple never got anywhere.
    const AxisTicks far = ComputeAxisTicks(1e20, 1e20 + 1e6, 8);
    EXPECT_LE(far.count, AxisTicks::kCapacity);
}

TEST(PlotMapping, TruncatesTowardZeroAndInvertsItself) {
    const PlotMapping m{80, 30, 360, 250, 200, 1100, 0, 16500};
    EXPECT_EQ(m.PixelX(200), 80);
    EXPECT_EQ(m.PixelX(1100), 360);
    EXPECT_EQ(m.PixelX(650), 220);
    EXPECT_EQ(m.PixelX(203.2), 80);  // 80.996 → 80
    EXPECT_EQ(m.PixelX(199), 79);    // 79.69 → 79, not floor of the offset
    EXPECT_EQ(m.PixelY(0), 250);
    EXPECT_EQ(m.PixelY(16500), 30);
    EXPECT_EQ(m.PixelY(8250), 140);
    EXPECT_DOUBLE_EQ(m.DataX(220), 650);
    EXPECT_DOUBLE_EQ(m.DataY(140), 8250);
    EXPECT_TRUE(m.CanMap());
}

TEST(PlotMapping, EmptyRangesCannotMapAndWildValuesStayInInts) {
    EXPECT_FALSE((PlotMapping{80, 30, 360, 250, 5, 5, 0, 1}.CanMap()));
    EXPECT_FALSE((PlotMapping{80, 30, 360, 250, 0, 1, 2, 2}.CanMap()));
    EXPECT_FALSE((PlotMapping{80, 30, 60, 250, 0, 1, 0, 1}.CanMap()));  // chart narrower than its margins
    const PlotMapping m{80, 30, 360, 250, 0, 1, 0, 1};
    EXPECT_EQ(m.PixelX(1e300), 1000000000);
    EXPECT_EQ(m.PixelX(-std::numeric_limits<double>::infinity()), -1000000000);
    EXPECT_EQ(m.PixelY(std::numeric_limits<double>::quiet_NaN()), -1000000000);
}

}  // namespace
