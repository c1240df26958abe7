#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "PeakSearch.h"
#include "SyntheticSpectrum.h"

namespace {

constexpr int kPoints = 2048;
constexpr double kX0 = 500.0;  // nm
constexpr double kStep = 0.1;  // nm per sample

PeakInfo Search(const Spectrum& s, double threshold) {
    PeakInfo info;
    AotuSearchPeakByFD(s.size(), s.x.data(), s.y.data(), threshold, &info, nullptr, nullptr);
    return info;
}

double Sloped(int i) { return 300.0 + 0.2 * i; }
// Rises, bends over and falls: curved everywhere, with its crest inside the spectrum.
double Curved(int i) {
    const double t = i / (kPoints - 1.0);
    return 300.0 + 900.0 * t - 700.0 * t * t;
}

// Nine peaks of different widths, heights and sub-sample offsets (0 … 0.88),
// far enough apart that each is measured on its own.
std::vector<TruePeak> Lines(Shape shape) {
    const double gaussianWidths[] = {5, 5.5, 6, 7.5, 9, 11, 14, 19, 25};
    const double lorentzianWidths[] = {5, 5.5, 6, 6.5, 7.5, 8, 9, 10, 12};
    std::vector<TruePeak> lines;
    for (int k = 0; k < 9; ++k) {
        const double width = shape == Shape::Gaussian ? gaussianWidths[k] : lorentzianWidths[k];
        lines.push_back({150.0 + 215.0 * k + 0.11 * k, 1500.0 - 100.0 * k, width});
    }
    return lines;
}

// Centre within 0.05 sample, height within 2 %, width within 3 %, and nothing
// else reported: for both shapes, on both bases, with and without noise.
TEST(PeakSearchAccuracy, KnownPeaksAreMeasuredOnSlopedAndCurvedBases) {
    for (int c = 0; c < 8; ++c) {  // Lorentzian from 4, curved base for 2 and 3 (mod 4), noise when odd
        const Shape shape = c < 4 ? Shape::Gaussian : Shape::Lorentzian;
        const double sigma = c % 2;
        SCOPED_TRACE("case " + std::to_string(c));
        const std::vector<TruePeak> lines = Lines(shape);
        const Spectrum s = Make(kPoints, kX0, kStep, c % 4 < 2 ? Sloped : Curved, shape, lines, sigma);
        const PeakInfo info = Search(s, 200.0);
        ASSERT_EQ(info.count, static_cast<int>(lines.size()));
        for (int j = 0; j < info.count; ++j) {
            const TruePeak& line = lines[j];
            SCOPED_TRACE("width " + std::to_string(line.fwhm));
            EXPECT_NEAR(info.position[j], kX0 + kStep * line.centre, 0.05 * kStep);
            EXPECT_NEAR(info.pointIndex[j], line.centre, 0.05);
            EXPECT_NEAR(info.height[j], line.height, 0.02 * line.height);
            EXPECT_NEAR(info.fwhm[j], kStep * line.fwhm, 0.03 * kStep * line.fwhm);
            EXPECT_NEAR(info.intensity[j], s.y[std::lround(line.centre)], 0.02 * line.height);
        }
    }
}

TEST(PeakSearchAccuracy, PeaksTwoWidthsApartAreBothFound) {
    for (Shape shape : {Shape::Gaussian, Shape::Lorentzian}) {
        for (double width : {5.0, 10.0}) {
            const std::vector<TruePeak> pair = {{1000.3, 800.0, width}, {1000.3 + 2 * width, 500.0, width}};
            const Spectrum s = Make(kPoints, 0.0, 1.0, Curved, shape, pair, 2.0);
            const PeakInfo info = Search(s, 100.0);
            ASSERT_EQ(info.count, 2) << "width " << width;
            EXPECT_NEAR(info.position[0], pair[0].centre, 0.3);
            EXPECT_NEAR(info.position[1], pair[1].centre, 0.3);
            EXPECT_GT(info.height[1], 400.0);
        }
    }
}

// Noise maxima must neither reach the threshold (a fit through noise once
// reported 560 counts on noise of deviation 3) nor split a broad line.
TEST(PeakSearchAccuracy, NoiseBelowTheThresholdGivesNoPeaks) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        const Spectrum noise = Make(kPoints, kX0, kStep, Curved, Shape::Gaussian, {}, 3.0, seed);
        ASSERT_EQ(Search(noise, 40.0).count, 0) << "seed " << seed;
    }
    const Spectrum broad = Make(kPoints, kX0, kStep, Curved, Shape::Gaussian, {{1024.0, 400.0, 60.0}}, 10.0);
    const PeakInfo info = Search(broad, 100.0);
    ASSERT_EQ(info.count, 1);
    EXPECT_NEAR(info.pointIndex[0], 1024.0, 1.0);
    EXPECT_NEAR(info.fwhm[0], kStep * 60.0, kStep * 60.0 * 0.05);
}

}  // namespace
