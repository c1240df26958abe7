#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "DeviceProtocol.h"
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

// The pixel where the polynomial reaches the wavelength, between whole pixels.
double PixelOf(const std::array<double, 4>& c, double nm) {
    int p = 0;
    while (p < 3628 && Polynomial(c, p + 1) < nm) ++p;
    return p + (nm - Polynomial(c, p)) / (Polynomial(c, p + 1) - Polynomial(c, p));
}

double AxisAt(const std::vector<double>& x, double pixel) {
    const auto p = static_cast<size_t>(pixel);
    return x[p] + (pixel - static_cast<double>(p)) * (x[p + 1] - x[p]);
}

TEST_F(Simulator, CountsScaleWithIntegrationTimeAndClipAtTheMaximum) {
    const SimulatedUnitSetup setup;
    AddUnit(setup);
    CKestrion link;
    ASSERT_EQ(link.StartDevice(0), 1);
    const std::vector<double> scene = PlaceScene(Scene::MercuryArgonLamp, setup.coefficients, 3630).sourcePerMs;
    const int line = static_cast<int>(std::max_element(scene.begin(), scene.end()) - scene.begin());
    int medium = 0;  // about 50 counts per ms: unclipped at 40 ms
    for (int p = 0; p < 3630; ++p) medium = std::abs(scene[p] - 50) < std::abs(scene[medium] - 50) ? p : medium;
    const int quiet = static_cast<int>(std::min_element(scene.begin(), scene.end()) - scene.begin());

    const auto short4 = OneFrame(link, 4);
    const auto long40 = OneFrame(link, 40);
    const double dark = 16500 * 0.06;
    EXPECT_NEAR(short4[quiet], dark + 4 * scene[quiet], 40);  // read noise is a few counts
    EXPECT_NEAR((long40[medium] - dark) / (short4[medium] - dark), 10, 1.5);
    EXPECT_LT(OneFrame(link, 100)[line], 16500) << "the default time does not clip";
    EXPECT_EQ(OneFrame(link, 200)[line], 16500);
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

    // Long enough for the weak lines to stand well above the noise, short
    // enough for the strongest not to clip.
    const auto y = OneFrame(link, 100);
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

// A unit whose stored calibration is off: the link reads the stored axis, the
// lamp shows where the optics put it, and writing the true coefficients puts
// the line at its wavelength without moving it on the detector.
TEST_F(Simulator, WritingTheTrueDispersionFixesTheAxisButNotTheScene) {
    const SimulatedUnitSetup setup = MiscalibratedSimulatedUnit();
    ASSERT_TRUE(setup.trueDispersion.has_value());
    const std::array<double, 4> optics = *setup.trueDispersion;
    auto unit = AddUnit(setup);
    CKestrion link;
    ASSERT_EQ(link.StartDevice(0), 1);
    double reported[4];
    link.GetCalibrationParams(reported);
    EXPECT_TRUE(std::equal(reported, reported + 4, setup.coefficients.begin()));

    const auto& lines = SceneLines(Scene::MercuryArgonLamp);
    const double brightest = std::max_element(lines.begin(), lines.end(), [](const auto& a, const auto& b) {
                                 return a.peak < b.peak;
                             })->wavelengthNm;
    const double truePixel = PixelOf(optics, brightest);
    const double dark = 16500 * 0.06;
    const double before = PeakPixel(OneFrame(link, 100), truePixel, dark);
    EXPECT_NEAR(before, truePixel, 0.1);
    EXPECT_GT(std::abs(before - PixelOf(setup.coefficients, brightest)), 10) << "not where it is stored";
    std::vector<double> x(3630);
    link.GetXData(x.data());
    EXPECT_NEAR(AxisAt(x, before), Polynomial(setup.coefficients, truePixel), 0.05);
    EXPECT_GT(AxisAt(x, before) - brightest, 2) << "a few nm off";

    ASSERT_EQ(WriteDemarcateData(&link, optics.data(), 4), 1);
    EXPECT_EQ(unit->Coefficients(), optics);
    link.GetCalibrationParams(reported);
    EXPECT_TRUE(std::equal(reported, reported + 4, optics.begin()));
    const double after = PeakPixel(OneFrame(link, 100), truePixel, dark);
    EXPECT_NEAR(after, truePixel, 0.1) << "the optics did not change";
    link.GetXData(x.data());
    EXPECT_NEAR(AxisAt(x, after), brightest, 0.05);
}

TEST_F(Simulator, TheMiscalibratedUnitIsUnitZeroAFewNmOff) {
    const SimulatedUnitSetup good = DefaultSimulatedUnit(0), bad = MiscalibratedSimulatedUnit();
    EXPECT_FALSE(good.trueDispersion.has_value());
    ASSERT_TRUE(bad.trueDispersion.has_value());
    EXPECT_EQ(*bad.trueDispersion, good.coefficients);
    EXPECT_EQ(bad.serialPart, good.serialPart);
    EXPECT_EQ(bad.scene, Scene::MercuryArgonLamp);
    for (int p : {0, 1800, 3629}) {
        const double off = Polynomial(bad.coefficients, p) - Polynomial(good.coefficients, p);
        EXPECT_GT(off, 2) << p;
        EXPECT_LT(off, 7) << p;
    }

    EXPECT_EQ(UseSimulatedSpectrometers(3, true), 3);
    double stored[3][4];
    for (int k = 0; k < 3; ++k) {
        CKestrion link;
        ASSERT_EQ(link.StartDevice(k), 1);
        link.GetCalibrationParams(stored[k]);
    }
    EXPECT_TRUE(std::equal(stored[0], stored[0] + 4, bad.coefficients.begin()));
    for (int k : {1, 2}) EXPECT_TRUE(std::equal(stored[k], stored[k] + 4, good.coefficients.begin())) << k;
    SetUsbBackend(bus);
}

// Noise is drawn from a table rather than a generator per pixel: each pixel
// must still scatter about dark + signal with variance read² + signal, and
// neither neighbouring pixels nor consecutive frames may move together.
TEST_F(Simulator, NoiseKeepsItsMeanAndVariancePerPixel) {
    const SimulatedUnitSetup setup;
    auto unit = AddUnit(setup);
    unit->RecordTraffic(false);
    const uint64_t session = unit->Session();
    // External triggering at a high rate: every frame request is answered at once.
    uint8_t none = 0;
    ASSERT_EQ(unit->Control(session, {0x40, protocol::kSelectExtTrigger, 0, 0}, &none, 0).status, UsbStatus::Completed);
    unit->SetExternalTriggerRate(1e9);
    const std::vector<double> scene = PlaceScene(Scene::MercuryArgonLamp, setup.coefficients, 3630).sourcePerMs;
    constexpr int kFrames = 2000;
    const int pixels[] = {10, 1000, 2000, 3000};
    std::vector<std::vector<double>> counts(std::size(pixels));
    std::vector<uint8_t> reply(protocol::kReplyLength);
    std::vector<double> previous(3630), current(3630);
    double lagProducts = 0, neighbourProducts = 0, squares = 0;
    for (int f = 0; f < kFrames; ++f) {
        uint8_t request[6];
        std::copy(protocol::kFrameRequest.begin(), protocol::kFrameRequest.end(), request);
        unit->Bulk(session, SimulatedSpectrometer::kCommandEndpoint, request, 6, 400);
        ASSERT_EQ(unit->Bulk(session, SimulatedSpectrometer::kFrameEndpoint, reply.data(), 8192, 400).length, 8192);
        for (int i = 0; i < 3630; ++i) current[i] = reply[64 + 2 * i] | reply[65 + 2 * i] << 8;
        for (size_t k = 0; k < std::size(pixels); ++k) counts[k].push_back(current[pixels[k]]);
        // Deviations of quiet pixels (the faint continuum) from their mean.
        const double dark = 16500 * 0.06, ms = 4;
        for (int i = 2000; i < 2200; ++i) {
            const double d = current[i] - dark - scene[i] * ms, dNext = current[i + 1] - dark - scene[i + 1] * ms;
            squares += d * d;
            neighbourProducts += d * dNext;
            if (f > 0) lagProducts += d * (previous[i] - dark - scene[i] * ms);
        }
        std::swap(previous, current);
    }
    for (size_t k = 0; k < std::size(pixels); ++k) {
        SCOPED_TRACE(pixels[k]);
        const double signal = scene[pixels[k]] * 4;  // the unit starts at 4 ms
        const double expectedMean = 16500 * 0.06 + signal, expectedVariance = 36 + signal;
        double sum = 0, sumSquares = 0;
        for (double c : counts[k]) sum += c;
        const double mean = sum / kFrames;
        for (double c : counts[k]) sumSquares += (c - mean) * (c - mean);
        const double variance = sumSquares / (kFrames - 1);
        EXPECT_NEAR(mean, expectedMean, 5 * std::sqrt(expectedVariance / kFrames) + 0.5);
        EXPECT_NEAR(variance / expectedVariance, 1.0, 0.15);
    }
    EXPECT_LT(std::abs(neighbourProducts / squares), 0.05);
    EXPECT_LT(std::abs(lagProducts / squares), 0.05);
}

}  // namespace
}  // namespace kestrion::testing
