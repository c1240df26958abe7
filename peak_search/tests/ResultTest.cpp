#include <gtest/gtest.h>

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
    const Spectrum s = Make(1024, 0.0, 1.0, Flat, Shape::Gaussian, {{300.0, 60.0, 8.0}, {700.0, 150.0, 8.0}});
    const PeakInfo info = Search(s, 100.0);
    ASSERT_EQ(info.count, 1);
    EXPECT_NEAR(info.position[0], 700.0, 0.05);
    EXPECT_EQ(Search(s, 10.0).count, 2);
}

TEST(PeakSearchResult, KeepsTheHundredHighestInAscendingPosition) {
    // 150 lines with distinct heights in scrambled order along the spectrum.
    std::vector<TruePeak> lines;
    std::vector<double> expected;  // the 100 highest are those of 600 … 1590
    for (int k = 0; k < 150; ++k) {
        lines.push_back({60.0 + 100.0 * k, 100.0 + 10.0 * ((k * 37) % 150), 6.0});
        if (lines.back().height >= 600.0) expected.push_back(lines.back().centre);
    }
    const PeakInfo info = Search(Make(15100, 0.0, 1.0, Flat, Shape::Gaussian, lines), 50.0);
    ASSERT_EQ(info.count, kPeakInfoCapacity);
    for (int j = 0; j < info.count; ++j) EXPECT_NEAR(info.position[j], expected[j], 0.05) << "peak " << j;
}

TEST(PeakSearchResult, PositionsAndWidthsAreInTheUnitsOfX) {
    const std::vector<TruePeak> lines = {{200.4, 500.0, 6.0}, {600.7, 800.0, 10.0}};
    // Sample indexes, as when markings are placed: the position is the point index.
    PeakInfo info = Search(Make(1024, 0.0, 1.0, Flat, Shape::Lorentzian, lines), 100.0);
    ASSERT_EQ(info.count, 2);
    EXPECT_NEAR(info.position[0], 200.4, 0.05);
    EXPECT_NEAR(info.fwhm[1], 10.0, 0.3);

    // A falling axis (wavenumbers): positions still ascend, widths are positive.
    info = Search(Make(1024, 3000.0, -2.5, Flat, Shape::Lorentzian, lines), 100.0);
    ASSERT_EQ(info.count, 2);
    EXPECT_NEAR(info.position[0], 3000.0 - 2.5 * 600.7, 2.5 * 0.05);
    EXPECT_NEAR(info.position[1], 3000.0 - 2.5 * 200.4, 2.5 * 0.05);
    EXPECT_NEAR(info.fwhm[0], 25.0, 0.75);
}

TEST(PeakSearchResult, BaseDeletedOutputIsTheSpectrumLessItsBase) {
    // Steep enough that a plain rolling envelope would fill each peak up to the
    // base at its uphill foot, some 15 counts too high.
    const auto base = [](int i) { return 1000.0 + 2.0 * i + 2e-4 * (i - 400.0) * (i - 400.0); };
    const std::vector<TruePeak> lines = {{250.0, 700.0, 7.0}, {520.5, 400.0, 12.0}};
    std::vector<double> deleted(1024, NAN);
    const PeakInfo info = Search(Make(1024, 0.0, 1.0, base, Shape::Gaussian, lines), 100.0, deleted.data());
    ASSERT_EQ(info.count, 2);
    EXPECT_NEAR(info.height[0], 700.0, 7.0);
    EXPECT_NEAR(info.height[1], 400.0, 4.0);
    for (int i = 0; i < 1024; ++i) {
        double peaks = 0.0;
        for (const TruePeak& line : lines) peaks += line.height * Profile(Shape::Gaussian, i - line.centre, line.fwhm);
        // Within 0.7 % of the taller line everywhere, the ends included.
        ASSERT_NEAR(deleted[i], peaks, 5.0) << "point " << i;
    }
}

TEST(PeakSearchResult, DegenerateInputGivesNoPeaksAndNoFault) {
    PeakInfo info;
    std::vector<double> out(8, 42.0);
    const double x[] = {0, 1, 2, 3, 4, 5, 6, 7};
    const double flat[8] = {};
    const double constant[] = {500, 500, 500, 500, 500, 500, 500, 500};
    for (const double* y : {flat, constant}) {
        for (int n : {1, 2, 3, 8}) {
            info.count = -1;
            AotuSearchPeakByFD(n, x, y, 0.0, &info, out.data(), nullptr);
            EXPECT_EQ(info.count, 0) << "n " << n;
            for (int i = 0; i < n; ++i) EXPECT_EQ(out[i], 0.0);
        }
    }
    // Refusals write the count and nothing else.
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
    EXPECT_EQ(out[0], 42.0);
    AotuSearchPeakByFD(8, x, constant, 0.0, nullptr, out.data(), nullptr);

    // Dropped or saturated readings.
    Spectrum s = Make(512, 0.0, 1.0, Flat, Shape::Gaussian, {{100.0, 500.0, 8.0}, {400.0, 500.0, 8.0}});
    s.y[250] = std::numeric_limits<double>::quiet_NaN();
    s.y[251] = std::numeric_limits<double>::infinity();
    s.y[252] = -std::numeric_limits<double>::infinity();
    info = Search(s, 100.0);
    EXPECT_GE(info.count, 0);
    EXPECT_LE(info.count, kPeakInfoCapacity);
    for (int j = 0; j < info.count; ++j) EXPECT_TRUE(std::isfinite(info.position[j]));
}

}  // namespace
