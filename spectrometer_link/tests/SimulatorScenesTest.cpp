#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "DeviceProtocol.h"
#include "Kestrion.h"
#include "LinkTestSupport.h"
#include "simulator/SpectrumScene.h"

namespace kestrion::testing {
namespace {

using Scenes = SimulatedLinkTest;

constexpr int kPixels = 3630;
constexpr double kDark = 16500 * 0.06;
constexpr double kFullScale = 16500;
const std::array<double, 4> kOptics = SimulatedUnitSetup{}.coefficients;

size_t PixelAt(double nm) {
    size_t p = 0;
    while (p + 1 < kPixels && Polynomial(kOptics, static_cast<double>(p)) < nm) ++p;
    return p;
}

void SelectTrigger(SimulatedSpectrometer& unit, bool external) {
    uint8_t none = 0;
    const UsbControlSetup select{0x40, external ? protocol::kSelectExtTrigger : protocol::kSelectClockTrigger,
                                 0, 0};
    ASSERT_EQ(unit.Control(unit.Session(), select, &none, 0).status, UsbStatus::Completed);
}

// The mean of frames fetched straight from the unit, as the link fetches them.
std::vector<double> MeanFrame(SimulatedSpectrometer& unit, int frames) {
    const uint64_t session = unit.Session();
    std::vector<double> mean(kPixels, 0.0);
    std::vector<uint8_t> reply(protocol::kReplyLength);
    for (int f = 0; f < frames; ++f) {
        uint8_t request[protocol::kCommandLength];
        std::copy(protocol::kFrameRequest.begin(), protocol::kFrameRequest.end(), request);
        unit.Bulk(session, SimulatedSpectrometer::kCommandEndpoint, request, protocol::kCommandLength, 400);
        EXPECT_EQ(unit.Bulk(session, SimulatedSpectrometer::kFrameEndpoint, reply.data(),
                            protocol::kReplyLength, 400)
                      .length,
                  protocol::kReplyLength);
        for (size_t i = 0; i < kPixels; ++i)
            mean[i] += (reply[64 + 2 * i] | reply[65 + 2 * i] << 8) / double(frames);
    }
    return mean;
}

// A unit of the scene answering every frame request at once, as under a
// fast external trigger; it starts at 4 ms integration.
std::shared_ptr<SimulatedSpectrometer> ExternallyTriggered(SimulatedBus& bus, Scene scene) {
    SimulatedUnitSetup setup;
    setup.scene = scene;
    auto unit = bus.Add(setup);
    SelectTrigger(*unit, true);
    unit->SetExternalTriggerRate(1e9);
    return unit;
}

TEST(SceneData, NamesFeaturesAndBrightnessAreSound) {
    std::set<std::string_view> names;
    for (Scene scene : kAllScenes) {
        SCOPED_TRACE(std::string(SceneName(scene)));
        EXPECT_TRUE(names.insert(SceneName(scene)).second) << "names are distinct";
        EXPECT_EQ(SceneNamed(SceneName(scene)), scene);
        for (const auto* list : {&SceneLines(scene), &ScenePlasmaLines(scene), &SceneBands(scene)}) {
            for (const SceneLine& line : *list) {
                EXPECT_GT(line.wavelengthNm, 250) << "inside the device's range";
                EXPECT_LT(line.wavelengthNm, 1050);
                EXPECT_GT(line.peak, 0);
            }
        }
        const SceneOnDetector placed = PlaceScene(scene, kOptics, kPixels);
        ASSERT_EQ(placed.sourcePerMs.size(), size_t{kPixels});
        for (size_t p = 0; p < kPixels; ++p) {
            ASSERT_TRUE(placed.sourcePerMs[p] >= 0 && std::isfinite(placed.sourcePerMs[p])) << p;
            ASSERT_TRUE(placed.transmittance[p] > 0 && placed.transmittance[p] <= 1) << p;
            ASSERT_TRUE(placed.plasmaCounts[p] >= 0 && std::isfinite(placed.plasmaCounts[p])) << p;
        }
        // Below full scale at the program's default 100 ms, and a flash at any time.
        const double brightest = *std::max_element(placed.sourcePerMs.begin(), placed.sourcePerMs.end());
        const double flash = *std::max_element(placed.plasmaCounts.begin(), placed.plasmaCounts.end());
        EXPECT_LT(kDark + 100 * brightest + flash, kFullScale);
        // At each band's centre the sample lets through exp(−absorbance).
        for (const SceneLine& band : SceneBands(scene)) {
            EXPECT_NEAR(-std::log(placed.transmittance[PixelAt(band.wavelengthNm)]), band.peak,
                        0.01 * band.peak);
        }
    }
    EXPECT_FALSE(SceneNamed("Lamp").has_value());
    EXPECT_EQ(SceneBands(Scene::AbsorbingSample).size(), 2u);
    EXPECT_TRUE(SceneLines(Scene::LaserPlasma).empty()) << "no light but the plasma";
}

TEST_F(Scenes, SourceAndSampleSwitchesChangeTheNextFrames) {
    auto unit = ExternallyTriggered(*bus, Scene::AbsorbingSample);
    EXPECT_TRUE(unit->IsSourceOn());
    EXPECT_TRUE(unit->IsSampleIn());
    const SceneOnDetector scene = PlaceScene(Scene::AbsorbingSample, kOptics, kPixels);
    const size_t band = PixelAt(620), clear = PixelAt(800);
    constexpr int kFrames = 200;
    // Counts of the mean frame at pixel p, and five standard errors of it.
    const auto expected = [&](size_t p, double transmittance) {
        return kDark + 4 * scene.sourcePerMs[p] * transmittance;
    };
    const auto spread = [&](double mean) { return 5 * std::sqrt((36 + mean - kDark) / kFrames) + 0.5; };

    const auto sampleIn = MeanFrame(*unit, kFrames);
    const double absorbed = expected(band, scene.transmittance[band]), plain = expected(band, 1);
    EXPECT_NEAR(sampleIn[band], absorbed, spread(absorbed));
    EXPECT_LT(absorbed - kDark, 0.4 * (plain - kDark)) << "absorbance 1 lets through 37 %";
    EXPECT_NEAR(sampleIn[clear], expected(clear, 1), spread(expected(clear, 1)));

    unit->SetSampleIn(false);
    EXPECT_FALSE(unit->IsSampleIn());
    const auto sampleOut = MeanFrame(*unit, kFrames);
    EXPECT_NEAR(sampleOut[band], plain, spread(plain)) << "the plain source";
    EXPECT_NEAR(sampleOut[clear], expected(clear, 1), spread(expected(clear, 1)));

    unit->SetSourceOn(false);
    EXPECT_FALSE(unit->IsSourceOn());
    const auto dark = MeanFrame(*unit, kFrames);
    for (size_t p : {size_t{0}, band, clear, size_t{kPixels - 1}})
        EXPECT_NEAR(dark[p], kDark, spread(kDark)) << p;
}

// The plasma shines only in frames the laser's pulses triggered: not while
// the laser is idle, not in clock-paced frames while it fires.
TEST_F(Scenes, PlasmaLinesOnlyInExternallyTriggeredFramesWhileTheLaserFires) {
    auto unit = ExternallyTriggered(*bus, Scene::LaserPlasma);
    const SceneOnDetector scene = PlaceScene(Scene::LaserPlasma, kOptics, kPixels);
    const auto linePeaks = [&](const std::vector<double>& frame) {
        std::vector<double> above;
        for (const SceneLine& line : ScenePlasmaLines(Scene::LaserPlasma))
            above.push_back(frame[PixelAt(line.wavelengthNm)] - kDark);
        return above;
    };
    for (double above : linePeaks(MeanFrame(*unit, 20))) EXPECT_NEAR(above, 0, 5) << "laser idle";

    unit->SetLaserFiring(true);
    EXPECT_TRUE(unit->IsLaserFiring());
    const std::vector<double> fired = linePeaks(MeanFrame(*unit, 20));
    const auto& lines = ScenePlasmaLines(Scene::LaserPlasma);
    for (size_t i = 0; i < lines.size(); ++i) {
        const double flash = scene.plasmaCounts[PixelAt(lines[i].wavelengthNm)];
        EXPECT_GT(flash, 0.5 * lines[i].peak) << lines[i].wavelengthNm;
        EXPECT_NEAR(fired[i], flash, 0.05 * flash) << lines[i].wavelengthNm;
    }

    SelectTrigger(*unit, false);
    for (double above : linePeaks(MeanFrame(*unit, 3))) EXPECT_NEAR(above, 0, 15) << "clock-paced frame";
    SelectTrigger(*unit, true);
    unit->SetLaserFiring(false);
    for (double above : linePeaks(MeanFrame(*unit, 20))) EXPECT_NEAR(above, 0, 5) << "laser stopped";
}

// Scenes given per unit, the last one for the rest; the units' trigger
// inputs get pulses, so a plasma unit shows its lines through a link.
TEST_F(Scenes, UnitsTakeTheirScenesInOrderAndGetTriggerPulses) {
    ASSERT_EQ(UseSimulatedSpectrometers(3, false, {Scene::AbsorbingSample, Scene::LaserPlasma}), 3);
    auto simulated = std::dynamic_pointer_cast<SimulatedBus>(CurrentUsbBackend());
    ASSERT_NE(simulated, nullptr);
    CKestrion sample, plasma;
    ASSERT_EQ(sample.StartDevice(0), 1);
    ASSERT_EQ(plasma.StartDevice(2), 1);
    ASSERT_TRUE(WaitFor([&] { return sample.GetFrameNo() >= 1; }));
    std::vector<double> y(kPixels);
    sample.GetYData(y.data());
    EXPECT_GT(y[PixelAt(650)] - kDark, 200) << "the white source at 4 ms";

    simulated->Unit(2)->SetLaserFiring(true);
    ASSERT_EQ(plasma.SetDevExtTrigger(), 1);
    const long before = plasma.GetFrameNo();
    // A frame fetched before the change may still come: wait for a later one.
    ASSERT_TRUE(WaitFor([&] { return plasma.GetFrameNo() >= before + 3; }));
    plasma.GetYData(y.data());
    EXPECT_GT(y[PixelAt(393.366)] - kDark, 4000) << "Ca II K in a triggered frame";
    SetUsbBackend(bus);
}

}  // namespace
}  // namespace kestrion::testing
