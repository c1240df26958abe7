#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "Kestrion.h"
#include "LinkTestSupport.h"
#include "simulator/SpectrumScene.h"

namespace kestrion::testing {
namespace {

using Simulator = SimulatedLinkTest;

std::vector<double> OneFrame(CKestrion& link, double ms) {
    EXPECT_EQ(link.SetDevSoftTrigger(), 1);
    EXPECT_EQ(link.SetIntegralTimeMS(ms), 1);
    const long before = link.GetFrameNo();
    link.SoftTrigOnce(1);
    EXPECT_TRUE(WaitFor([&] { return link.GetFrameNo() == before + 1; }));
    std::vector<double> y(static_cast<size_t>(link.GetPixelCount()));
    link.GetYData(y.data());
    return y;
}

// Centre of the peak near the expected pixel: the maximum within ±15
// pixels, refined by the centroid of the counts above the dark level.
double PeakPixel(const std::vector<double>& y, double expected, double dark) {
    const int from = std::max(0, static_cast<int>(expected) - 15);
    const int to = std::min(static_cast<int>(y.size()) - 1, static_cast<int>(expected) + 15);
    int top = from;
    for (int p = from; p <= to; ++p) top = y[p] > y[top] ? p : top;
    double sum = 0, weighted = 0;
    for (int p = top - 4; p <= top + 4; ++p) {
        sum += y[p] - dark;
        weighted += (y[p] - dark) * p;
    }
    return weighted / sum;
}

TEST_F(Simulator, CountsScaleWithIntegrationTimeAndClipAtTheMaximum) {
    const SimulatedUnitSetup setup;
    AddUnit(setup);
    CKestrion link;
    ASSERT_EQ(link.StartDevice(0), 1);
    const std::vector<double> scene = SceneCountsPerMs(Scene::MercuryArgonLamp, setup.coefficients, 3630);
    const int line = static_cast<int>(std::max_element(scene.begin(), scene.end()) - scene.begin());
    int medium = 0;  // about 100 counts per ms: unclipped at 40 ms
    for (int p = 0; p < 3630; ++p) medium = std::abs(scene[p] - 100) < std::abs(scene[medium] - 100) ? p : medium;
    const int quiet = static_cast<int>(std::min_element(scene.begin(), scene.end()) - scene.begin());

    const auto short4 = OneFrame(link, 4);
    const auto long40 = OneFrame(link, 40);
    const double dark = 16500 * 0.06;
    EXPECT_NEAR(short4[quiet], dark + 4 * scene[quiet], 40);  // read noise is a few counts
    EXPECT_NEAR((long40[medium] - dark) / (short4[medium] - dark), 10, 1.5);
    EXPECT_EQ(OneFrame(link, 100)[line], 16500);
}

TEST_F(Simulator, DefaultUnitsAreDistinctAndLookAtLampOrRuby) {
    EXPECT_EQ(UseSimulatedSpectrometers(), 2);
    CKestrion lamp, ruby;
    ASSERT_EQ(lamp.StartDevice(0), 1);
    ASSERT_EQ(ruby.StartDevice(1), 1);
    EXPECT_NE(lamp.GetSerialNumber(), ruby.GetSerialNumber());
    const auto y = OneFrame(ruby, 4);
    std::vector<double> x(3630);
    ruby.GetXData(x.data());
    const auto top = std::max_element(y.begin(), y.end()) - y.begin();
    EXPECT_NEAR(x[static_cast<size_t>(top)], 694.25, 0.5);  // R1
    EXPECT_EQ(UseSimulatedSpectrometers(100), 16);
    SetUsbBackend(bus);
}

TEST_F(Simulator, CalibratingAgainstTheLampLinesRecoversTheOptics) {
    const SimulatedUnitSetup setup;  // optics = its stored polynomial
    auto unit = AddUnit(setup);
    CKestrion link;
    ASSERT_EQ(link.StartDevice(0), 1);
    const double wrong[4] = {190, 0.27, -4e-6, 0};
    ASSERT_EQ(WriteDemarcateData(&link, wrong, 4), 1);

    const auto y = OneFrame(link, 4);
    const double dark = 16500 * 0.06;
    std::vector<double> wavelengths, pixels;
    for (const SceneLine& line : SceneLines(Scene::MercuryArgonLamp)) {
        // Where the line should sit, found by inverting the true polynomial.
        int expected = 0;
        while (expected < 3629 && Polynomial(setup.coefficients, expected) < line.wavelengthNm) ++expected;
        if (line.wavelengthNm == 576.960 || line.wavelengthNm == 579.066) continue;  // blended pair
        wavelengths.push_back(line.wavelengthNm);
        pixels.push_back(PeakPixel(y, expected, dark));
    }
    ASSERT_EQ(WriteDemarcateData(&link, wavelengths.data(), pixels.data(), static_cast<int>(pixels.size())), 1);
    std::vector<double> x(3630);
    link.GetXData(x.data());
    // Between the outer lines, where the fit is held by lines on both sides.
    for (int p = 800; p < 3000; p += 100) EXPECT_NEAR(x[p], Polynomial(setup.coefficients, p), 0.1) << p;
}

}  // namespace
}  // namespace kestrion::testing
