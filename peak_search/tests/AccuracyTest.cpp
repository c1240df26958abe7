#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "PeakSearch.h"
#include "SyntheticSpectrum.h"

namespace {

constexpr int kPoints = 2048;
constexpr double kX0 = 500.0;  // nm
constexpr double kStep = 0.1;  // nm per sample

PeakInfo Search(const Spectrum& s, double threshold, double* baseOut = nullptr) {
    PeakInfo info;
    AotuSearchPeakByFD(s.size(), s.x.data(), s.y.data(), threshold, &info, baseOut, nullptr);
    return info;
}

double Sloped(int i) { return 300.0 + 0.2 * i; }
// Rises, bends over and falls: curved everywhere, with its crest inside the spectrum.
double Curved(int i) {
    const double t = i / (kPoints - 1.0);
    return 300.0 + 900.0 * t - 700.0 * t * t;
}

// Nine peaks of different widths, heights and sub-sample offsets, far enough
// apart that each is measured on its own.
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

struct Case {
    Shape shape;
    const char* baseName;
    double (*base)(int);
    double sigma;
};

// Centre within 0.05 sample, height within 2 %, width within 3 %, and nothing
// else reported: for both shapes, on both bases, with and without noise.
TEST(PeakSearchAccuracy, KnownPeaksAreMeasuredOnSlopedAndCurvedBases) {
    const Case cases[] = {
        {Shape::Gaussian, "sloped", Sloped, 0.0},   {Shape::Gaussian, "curved", Curved, 0.0},
        {Shape::Gaussian, "sloped", Sloped, 1.0},   {Shape::Gaussian, "curved", Curved, 1.0},
        {Shape::Lorentzian, "sloped", Sloped, 0.0}, {Shape::Lorentzian, "curved", Curved, 0.0},
        {Shape::Lorentzian, "sloped", Sloped, 1.0}, {Shape::Lorentzian, "curved", Curved, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.shape == Shape::Gaussian ? "Gaussian" : "Lorentzian") + " on " + c.baseName +
                     " base, noise " + std::to_string(c.sigma));
        const std::vector<TruePeak> lines = Lines(c.shape);
        const Spectrum s = Make(kPoints, kX0, kStep, c.base, c.shape, lines, c.sigma);
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
            EXPECT_DOUBLE_EQ(info.intensity[j] - info.base[j], info.height[j]);
            EXPECT_LT(info.leftHalf[j], info.position[j]);
            EXPECT_GT(info.rightHalf[j], info.position[j]);
        }
    }
}

// The centre must not drift with where the top falls between two samples.
TEST(PeakSearchAccuracy, CentreHoldsForEveryPhaseOfTheSampling) {
    for (Shape shape : {Shape::Gaussian, Shape::Lorentzian}) {
        for (double width : {5.0, 8.0}) {
            for (int tenth = 0; tenth < 10; ++tenth) {
                const double centre = 700.0 + 0.1 * tenth;
                const Spectrum s = Make(kPoints, 0.0, 1.0, Sloped, shape, {{centre, 1000.0, width}});
                const PeakInfo info = Search(s, 100.0);
                ASSERT_EQ(info.count, 1);
                EXPECT_NEAR(info.position[0], centre, 0.05) << "width " << width;
                EXPECT_NEAR(info.height[0], 1000.0, 20.0) << "width " << width << " centre " << centre;
                EXPECT_NEAR(info.fwhm[0], width, 0.03 * width) << "centre " << centre;
            }
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

TEST(PeakSearchAccuracy, NoiseBelowTheThresholdGivesNoPeaks) {
    const Spectrum noise = Make(kPoints, kX0, kStep, Curved, Shape::Gaussian, {}, 10.0);
    EXPECT_EQ(Search(noise, 100.0).count, 0);

    // A broad line in the same noise has many local maxima on its top; they
    // are one peak.
    const Spectrum broad = Make(kPoints, kX0, kStep, Curved, Shape::Gaussian, {{1024.0, 400.0, 60.0}}, 10.0);
    const PeakInfo info = Search(broad, 100.0);
    ASSERT_EQ(info.count, 1);
    EXPECT_NEAR(info.pointIndex[0], 1024.0, 1.0);
    EXPECT_NEAR(info.fwhm[0], kStep * 60.0, kStep * 60.0 * 0.05);
}

}  // namespace
