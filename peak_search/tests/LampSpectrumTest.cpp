#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "PeakSearch.h"
#include "SyntheticSpectrum.h"

namespace {

constexpr int kPoints = 2048;
constexpr double kSigma = 20.0;
constexpr int kDenseFirst = 1340;
constexpr int kDenseLast = 1960;

double Continuum(int i) {
    const double t = i / (kPoints - 1.0);
    return 900.0 + 500.0 * t - 350.0 * t * t + 60.0 * std::sin(5.0 * t);
}

// A neon lamp on a 2048-pixel array: lines 3 to 4 samples wide, weak ones
// (10–16 noise deviations) two to four widths from lines 20 to 50 times
// stronger on either flank, and a stretch of dense lines in the near infrared.
std::vector<TruePeak> LampLines() {
    std::vector<TruePeak> lines = {
        {120.3, 3000.0, 3.2},  {180.4, 10000.0, 3.5}, {188.1, 240.0, 3.5},   {300.6, 8000.0, 3.2},
        {292.6, 280.0, 3.2},   {420.2, 12000.0, 3.8}, {431.6, 300.0, 3.8},   {560.8, 6000.0, 3.0},
        {554.8, 300.0, 3.0},   {700.4, 9000.0, 3.4},  {714.0, 200.0, 3.4},   {850.1, 16000.0, 3.6},
        {839.3, 320.0, 3.6},   {1000.7, 5000.0, 3.3}, {1007.3, 250.0, 3.3},  {1150.5, 7000.0, 3.0},
        {1141.2, 230.0, 3.0},  {1250.2, 400.0, 3.5},
        // The dense stretch, kDenseFirst … kDenseLast.
        {1352.4, 2500.0, 3.4}, {1371.0, 600.0, 3.4},  {1386.7, 7000.0, 3.5}, {1394.2, 260.0, 3.5},
        {1410.3, 1200.0, 3.3}, {1431.8, 4500.0, 3.6}, {1447.1, 900.0, 3.6},  {1462.5, 8000.0, 3.4},
        {1470.0, 300.0, 3.4},  {1489.9, 3000.0, 3.5}, {1508.2, 500.0, 3.5},  {1523.6, 6000.0, 3.7},
        {1540.4, 1500.0, 3.4}, {1556.1, 400.0, 3.4},  {1571.7, 9000.0, 3.6}, {1579.6, 320.0, 3.6},
        {1597.3, 2000.0, 3.3}, {1615.8, 700.0, 3.5},  {1633.2, 5000.0, 3.5}, {1650.9, 1100.0, 3.4},
        {1664.4, 3500.0, 3.6}, {1683.0, 250.0, 3.6},  {1699.5, 7500.0, 3.5}, {1716.7, 800.0, 3.4},
        {1732.1, 2800.0, 3.3}, {1749.8, 600.0, 3.5},  {1766.3, 10000.0, 3.7}, {1775.0, 280.0, 3.7},
        {1792.6, 1800.0, 3.4}, {1810.2, 4000.0, 3.5}, {1826.5, 450.0, 3.6},  {1843.9, 6500.0, 3.4},
        {1860.4, 1300.0, 3.5}, {1878.8, 3200.0, 3.6}, {1894.1, 350.0, 3.4},  {1911.5, 5500.0, 3.5},
        {1929.0, 900.0, 3.3},  {1946.6, 2200.0, 3.6},
    };
    std::sort(lines.begin(), lines.end(), [](const TruePeak& a, const TruePeak& b) { return a.centre < b.centre; });
    return lines;
}

// Every line is reported once, in order, within tolerance(line) of its centre.
template <class Tolerance>
void ExpectEveryLineOnce(const std::vector<TruePeak>& lines, const PeakInfo& info, Tolerance tolerance) {
    ASSERT_EQ(info.count, static_cast<int>(lines.size()));
    for (int j = 0; j < info.count; ++j) {
        EXPECT_NEAR(info.position[j], lines[j].centre, tolerance(lines[j])) << "height " << lines[j].height;
    }
}

// Weak lines beside strong ones were merged into them or, after smoothing,
// left no maximum at all; in the dense stretch the base rode above the floor
// and cut the weak lines there under the threshold.
TEST(PeakSearchLamp, EveryLineIsFoundAtThreeNoiseDeviations) {
    const std::vector<TruePeak> lines = LampLines();
    const Spectrum s = Make(kPoints, 0.0, 1.0, Continuum, Shape::Gaussian, lines, kSigma);
    std::vector<double> baseDeleted(kPoints);
    PeakInfo info;
    AotuSearchPeakByFD(kPoints, s.x.data(), s.y.data(), 3.0 * kSigma, &info, baseDeleted.data(), nullptr);

    // A tenth of a sample for lines a hundred deviations high. Over a hundred
    // noise draws the centres of the weakest lines spread by 0.18 sample
    // (a fit to three or four samples at 10–16 σ can do little better), those
    // of lines 20 to 150 σ high by 0.06: the other lines need only be told apart.
    ExpectEveryLineOnce(lines, info, [](const TruePeak& line) { return line.height >= 100.0 * kSigma ? 0.1 : 0.7; });

    // Noise alone falls below −3σ on 0.13 % of the points.
    int below = 0;
    for (int i = kDenseFirst; i <= kDenseLast; ++i) below += baseDeleted[i] < -3.0 * kSigma;
    EXPECT_LE(below, 0.005 * (kDenseLast - kDenseFirst + 1));
}

// Without noise every centre, the shoulders' included, is refined to within a
// tenth of a sample.
TEST(PeakSearchLamp, CentresWithoutNoiseAreWithinATenthOfASample) {
    const std::vector<TruePeak> lines = LampLines();
    const Spectrum s = Make(kPoints, 0.0, 1.0, Continuum, Shape::Gaussian, lines);
    PeakInfo info;
    AotuSearchPeakByFD(kPoints, s.x.data(), s.y.data(), 3.0 * kSigma, &info, nullptr, nullptr);
    ExpectEveryLineOnce(lines, info, [](const TruePeak&) { return 0.1; });
}

}  // namespace
