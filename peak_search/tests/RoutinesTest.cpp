#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "../Baseline.h"
#include "../Candidates.h"

namespace {

using namespace peaksearch;

// The noise estimate picks its median digit by digit from the bit patterns; it
// must agree with a plain selection when many differences are equal (integer
// counts, flat stretches), zero or infinite, and when readings are missing.
TEST(PeakSearchRoutines, NoiseMedianAgreesWithPlainSelection) {
    std::mt19937 random(9);
    for (int trial = 0; trial < 2000; ++trial) {
        const int n = 3 + static_cast<int>(random() % 300);
        std::vector<double> y(n);
        for (double& v : y) {
            switch (trial % 4) {
                case 0: v = random() % 3; break;
                case 1: v = std::ldexp(static_cast<double>(random()), -static_cast<int>(random() % 40)); break;
                case 2: v = 500.0; break;
                default: v = random() % 30 == 0 ? (random() % 2 ? NAN : -INFINITY) : 0.25 * (random() % 9);
            }
        }
        std::vector<double> plain(n - 2);
        for (int i = 0; i < n - 2; ++i) {
            const double d = y[i] - 2.0 * y[i + 1] + y[i + 2];
            plain[i] = std::isfinite(d) ? std::fabs(d) : HUGE_VAL;
        }
        std::nth_element(plain.begin(), plain.begin() + (n - 2) / 2, plain.end());
        std::vector<double> scratch(n);
        ASSERT_EQ(NoiseSigma(y.data(), n, scratch.data()), plain[(n - 2) / 2] / (0.6745 * std::sqrt(6.0)))
            << "trial " << trial;
    }
}

// Full windows are averaged by a multiplication, shrunken ones at the ends by a
// division: both must give the mean of the window, also when the window is
// wider than the spectrum and when the output overwrites the input.
TEST(PeakSearchRoutines, CentredMeanAveragesTheSymmetricWindow) {
    std::mt19937 random(3);
    for (int n = 1; n < 60; ++n) {
        for (int half = 0; half < 35; ++half) {
            std::vector<double> in(n);
            for (double& v : in) v = 0.37 * (random() % 1000);
            std::vector<double> out = in;
            std::vector<double> prefix(n + 1);
            CentredMean(out.data(), n, half, prefix.data(), out.data());
            for (int i = 0; i < n; ++i) {
                const int k = std::min({half, i, n - 1 - i});
                double sum = 0.0;
                for (int j = i - k; j <= i + k; ++j) sum += in[j];
                ASSERT_NEAR(out[i], sum / (2 * k + 1), 1e-9) << "n " << n << " half " << half << " i " << i;
            }
        }
    }
}

}  // namespace
