#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "Condira.h"

namespace {

// One frame through an instance that averages nothing: the smoothed frame.
std::vector<double> Smoothed(const std::vector<double>& frame, int smoothness) {
    CCondira c(static_cast<int>(frame.size()));
    c.SetSmoothness(smoothness);
    c.AddNewSpectrumData(frame.data());
    std::vector<double> y(frame.size());
    c.GetYData(y.data());
    return y;
}

TEST(BoxcarTest, WindowsShrinkTowardsBothEnds) {
    std::vector<double> x(10);
    for (int i = 0; i < 10; ++i) x[i] = i * i;
    const std::vector<double> y = Smoothed(x, 2);
    EXPECT_EQ(y[0], 0.0);
    EXPECT_DOUBLE_EQ(y[1], 5.0 / 3.0);                                     // pixels 0..2
    for (int i = 2; i <= 7; ++i) EXPECT_DOUBLE_EQ(y[i], i * i + 2.0) << i;  // five pixels
    EXPECT_DOUBLE_EQ(y[8], 194.0 / 3.0);                                   // pixels 7..9
    EXPECT_EQ(y[9], 81.0);
}

// Wide dynamic range (dark level, strong spikes, a near-empty stretch,
// zeros, negative values) breaks a running sum that drifts: every pixel must
// match the direct window mean within 1e-12 of the window's mean magnitude.
// Widths past (N − 1) / 2 smooth with the widest window that fits.
TEST(BoxcarTest, MatchesTheDirectMeanForEveryWidth) {
    const int n = 4096;
    std::vector<double> x(n);
    for (int i = 0; i < n; ++i) {
        x[i] = i % 331 == 7 ? 1e9 : 1000.0 + 50.0 * std::sin(i * 1.3);
        if (i > 2000 && i < 2600) x[i] = 1e-3 * std::cos(i * 0.7);
        if (i >= 2600 && i < 2700) x[i] = 0.0;
        if (i > 3500) x[i] = -x[i];
    }
    for (int s : {1, 7, 1000, 2047, 2048, 100000}) {
        const std::vector<double> y = Smoothed(x, s);
        for (int i = 0; i < n; ++i) {
            const int h = std::min({s, i, n - 1 - i});
            double sum = 0.0, magnitude = 0.0;
            for (int j = i - h; j <= i + h; ++j) sum += x[j], magnitude += std::fabs(x[j]);
            ASSERT_LE(std::fabs(y[i] - sum / (2 * h + 1)), 1e-12 * magnitude / (2 * h + 1))
                << "smoothness " << s << " pixel " << i;
        }
        EXPECT_EQ(y[0], x[0]);
        EXPECT_EQ(y[n - 1], x[n - 1]);
    }
    for (int small : {1, 2, 3}) EXPECT_EQ(Smoothed(std::vector<double>(x.begin(), x.begin() + small), 9)[0], x[0]);
}

}  // namespace
