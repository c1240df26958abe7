#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "../Baseline.h"
#include "../Candidates.h"
#include "SyntheticSpectrum.h"

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

// The dip of a narrow, lopsided maximum was measured from the sample nearest
// its zero crossing (200 here) instead of the higher one (209), and a line
// rising 209 above its valley was merged away at a least dip of 205.
TEST(PeakSearchRoutines, DipIsMeasuredFromTheHigherSampleOfTheTop) {
    const double s[] = {0, 300, 600, 300, 0, 50, 200, 209, 0, 0};
    std::vector<Candidate> out(6);
    ASSERT_EQ(FindCandidates(s, 10, 205.0, out.data()), 2);
    EXPECT_EQ(out[1].top, 7);
    EXPECT_EQ(out[1].lowBound, 4);
}

// A weak line two widths beside one 20 times stronger keeps no maximum after
// smoothing, only a shoulder; the top of a saturated line and noise on a broad
// line, whose curvature is as small as the noise's, make none.
TEST(PeakSearchRoutines, ShouldersOfWeakLinesBesideStrongOnes) {
    const double sigma = 20.0;
    const double minCurvature = 3.5 * SmoothedCurvatureSigma(sigma);
    const auto search = [&](const Spectrum& spectrum, std::vector<Candidate>& shoulders) {
        const int n = spectrum.size();
        std::vector<double> smooth(n);
        SmoothLightly(spectrum.y.data(), n, smooth.data());
        std::vector<Candidate> maxima(n / 2 + 1);
        shoulders.resize(n / 2 + 1);
        const int count = FindCandidates(smooth.data(), n, 3.0 * sigma, maxima.data());
        EXPECT_EQ(count, 1);
        shoulders.resize(FindShoulders(smooth.data(), n, minCurvature, maxima.data(), count, shoulders.data()));
    };
    const auto flat = [](int) { return 1000.0; };
    std::vector<Candidate> shoulders;

    search(Make(256, 0.0, 1.0, flat, Shape::Gaussian, {{100.2, 6000.0, 3.0}, {106.2, 300.0, 3.0}}), shoulders);
    ASSERT_EQ(shoulders.size(), 1u);
    EXPECT_NEAR(shoulders[0].index, 106.2, 1.0);  // the top fit in y refines it
    EXPECT_EQ(shoulders[0].lowBound, 100);  // the strong line's top
    EXPECT_GT(shoulders[0].highBound, 108);

    Spectrum saturated = Make(256, 0.0, 1.0, flat, Shape::Gaussian, {{100.2, 30000.0, 6.0}});
    for (double& v : saturated.y) v = std::min(v, 16383.0);
    search(saturated, shoulders);
    EXPECT_TRUE(shoulders.empty());

    for (unsigned seed = 1; seed <= 20; ++seed) {
        search(Make(256, 0.0, 1.0, flat, Shape::Gaussian, {{128.0, 3000.0, 40.0}}, sigma, seed), shoulders);
        EXPECT_TRUE(shoulders.empty()) << "seed " << seed;
    }
}

}  // namespace
