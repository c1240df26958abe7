#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "PeakSearch.h"
#include "SyntheticSpectrum.h"

namespace {

double Flat(int) { return 200.0; }

PeakInfo Search(const Spectrum& s, double threshold, double* baseOut = nullptr) {
    PeakInfo info;
    info.count = -7;  // whatever the caller's stack held
    AotuSearchPeakByFD(s.size(), s.x.data(), s.y.data(), threshold, &info, baseOut, nullptr);
    return info;
}

TEST(PeakSearchResult, ThresholdIsOnTheHeightAboveTheBase) {
    // The base alone is far above the threshold; only the taller line is.
    const Spectrum s = Make(1024, 0.0, 1.0, Flat, Shape::Gaussian, {{300.0, 60.0, 8.0}, {700.0, 150.0, 8.0}});
    const PeakInfo info = Search(s, 100.0);
    ASSERT_EQ(info.count, 1);
    EXPECT_NEAR(info.position[0], 700.0, 0.05);
    EXPECT_EQ(Search(s, 1e9).count, 0);
    EXPECT_EQ(Search(s, 10.0).count, 2);
}

TEST(PeakSearchResult, KeepsTheHundredHighestInAscendingPosition) {
    // 150 lines with distinct heights in scrambled order along the spectrum.
    std::vector<TruePeak> lines;
    for (int k = 0; k < 150; ++k) lines.push_back({60.0 + 100.0 * k, 100.0 + 10.0 * ((k * 37) % 150), 6.0});
    const Spectrum s = Make(15100, 0.0, 1.0, Flat, Shape::Gaussian, lines);
    const PeakInfo info = Search(s, 50.0);
    ASSERT_EQ(info.count, kPeakInfoCapacity);
    std::vector<double> expected;
    for (const TruePeak& line : lines) {
        if (line.height >= 600.0) expected.push_back(line.centre);  // the 100 highest: 600 … 1590
    }
    ASSERT_EQ(expected.size(), 100u);
    for (int j = 0; j < info.count; ++j) EXPECT_NEAR(info.position[j], expected[j], 0.05) << "peak " << j;
}

TEST(PeakSearchResult, PositionsAndWidthsAreInTheUnitsOfX) {
    const std::vector<TruePeak> lines = {{200.4, 500.0, 6.0}, {600.7, 800.0, 10.0}};
    // Sample indexes, as for placing markings: position is the point index.
    const Spectrum pixels = Make(1024, 0.0, 1.0, Flat, Shape::Lorentzian, lines);
    PeakInfo info = Search(pixels, 100.0);
    ASSERT_EQ(info.count, 2);
    EXPECT_NEAR(info.position[0], 200.4, 0.05);
    EXPECT_NEAR(info.fwhm[1], 10.0, 0.3);

    // A falling axis (wavenumbers): positions still ascend, widths are positive.
    const Spectrum falling = Make(1024, 3000.0, -2.5, Flat, Shape::Lorentzian, lines);
    info = Search(falling, 100.0);
    ASSERT_EQ(info.count, 2);
    EXPECT_NEAR(info.position[0], 3000.0 - 2.5 * 600.7, 2.5 * 0.05);
    EXPECT_NEAR(info.position[1], 3000.0 - 2.5 * 200.4, 2.5 * 0.05);
    EXPECT_NEAR(info.fwhm[0], 25.0, 0.75);
    EXPECT_NEAR(info.pointIndex[0], 600.7, 0.05);
    EXPECT_GT(info.leftHalf[0], info.rightHalf[0]);
}

TEST(PeakSearchResult, BaseDeletedOutputIsTheSpectrumLessItsBase) {
    // Steep enough that a plain rolling envelope would fill each peak up to the
    // base at its uphill foot, some 15 counts too high.
    const auto base = [](int i) { return 1000.0 + 2.0 * i + 2e-4 * (i - 400.0) * (i - 400.0); };
    const std::vector<TruePeak> lines = {{250.0, 700.0, 7.0}, {520.5, 400.0, 12.0}};
    const Spectrum s = Make(1024, 0.0, 1.0, base, Shape::Gaussian, lines);
    std::vector<double> deleted(1024, NAN);
    const PeakInfo info = Search(s, 100.0, deleted.data());
    ASSERT_EQ(info.count, 2);
    for (int i = 0; i < 1024; ++i) {
        double peaks = 0.0;
        for (const TruePeak& line : lines) peaks += line.height * Profile(Shape::Gaussian, i - line.centre, line.fwhm);
        // The base follows the curved background to within 0.7 % of the taller line.
        ASSERT_NEAR(deleted[i], peaks, 5.0) << "point " << i;
    }
    EXPECT_NEAR(info.height[0], 700.0, 7.0);
    EXPECT_NEAR(info.height[1], 400.0, 4.0);
    EXPECT_NEAR(deleted[250], info.height[0], 5.0);
}

TEST(PeakSearchResult, SpectraWithoutPeaksGiveNoneAndNoFault) {
    PeakInfo info;
    std::vector<double> out(8, NAN);
    const double x[] = {0, 1, 2, 3, 4, 5, 6, 7};
    const double flat[8] = {};
    const double constant[] = {500, 500, 500, 500, 500, 500, 500, 500};
    const double rising[] = {1, 2, 3, 4, 5, 6, 7, 8};
    for (const double* y : {flat, constant, rising}) {
        for (int n : {1, 2, 3, 8}) {
            info.count = -1;
            AotuSearchPeakByFD(n, x, y, 0.0, &info, out.data(), nullptr);
            EXPECT_EQ(info.count, 0) << "n " << n;
            if (y != rising) {
                for (int i = 0; i < n; ++i) EXPECT_EQ(out[i], 0.0);
            }
        }
    }
    // Refusals: nothing to search, nothing written beyond the count.
    out.assign(8, 42.0);
    for (int n : {0, -5}) {
        info.count = -1;
        AotuSearchPeakByFD(n, x, constant, 0.0, &info, out.data(), nullptr);
        EXPECT_EQ(info.count, 0);
    }
    info.count = -1;
    AotuSearchPeakByFD(8, nullptr, constant, 0.0, &info, out.data(), nullptr);
    EXPECT_EQ(info.count, 0);
    AotuSearchPeakByFD(8, x, nullptr, 0.0, &info, out.data(), nullptr);
    EXPECT_EQ(info.count, 0);
    EXPECT_EQ(out[0], 42.0);
    AotuSearchPeakByFD(8, x, constant, 0.0, nullptr, out.data(), nullptr);
}

// Dropped or saturated readings must not crash the search or leave garbage counts.
TEST(PeakSearchResult, NonFiniteValuesAreSurvived) {
    Spectrum s = Make(512, 0.0, 1.0, Flat, Shape::Gaussian, {{100.0, 500.0, 8.0}, {400.0, 500.0, 8.0}});
    s.y[250] = std::numeric_limits<double>::quiet_NaN();
    s.y[251] = std::numeric_limits<double>::infinity();
    s.y[252] = -std::numeric_limits<double>::infinity();
    std::vector<double> out(512);
    const PeakInfo info = Search(s, 100.0, out.data());
    EXPECT_GE(info.count, 0);
    EXPECT_LE(info.count, kPeakInfoCapacity);
    for (int j = 0; j < info.count; ++j) EXPECT_TRUE(std::isfinite(info.position[j]));
}

TEST(PeakSearchResult, ThresholdNeverPassesOnRandomData) {
    // Uniform noise of peak-to-peak 1 on any base: no peak reaches 2.
    std::mt19937 random(3);
    std::uniform_real_distribution<double> noise(0.0, 1.0);
    Spectrum s = Make(4096, 0.0, 1.0, [](int i) { return 50.0 + 0.01 * i; }, Shape::Gaussian, {});
    for (double& v : s.y) v += noise(random);
    EXPECT_EQ(Search(s, 2.0).count, 0);
    EXPECT_GT(Search(s, 0.0).count, 0);  // without a threshold it does report the bumps
}

}  // namespace
