#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numeric>
#include <thread>
#include <vector>

#include "AcquisitionSession.h"
#include "AppTestSupport.h"
#include "BandQuantities.h"
#include "RubyPressure.h"

using namespace quenlix;
using namespace quenlix::testing;

namespace {

using Clock = std::chrono::steady_clock;

// Computes the bands on every averaged spectrum of the session, with the
// time it arrived, as the trace page does.
class TraceTaker : public AcquisitionListener {
public:
    TraceTaker(std::vector<TraceBand> bands, Clock::time_point start) : bands_(std::move(bands)), start_(start) {}

    std::vector<double> seconds;
    std::vector<std::vector<double>> values;  // per band

    void SpectrumReady(const ViewDevice& device) override {
        double computed[kMaxTraceBands];
        ComputeBandValues(bands_, 0, kDefaultRubyReferenceNm, device.xBuffer.data(), device.yBuffer.data(),
                          device.pointCount, computed);
        seconds.push_back(std::chrono::duration<double>(Clock::now() - start_).count());
        values.resize(bands_.size());
        for (std::size_t b = 0; b < bands_.size(); ++b) values[b].push_back(computed[b]);
    }
    // The earliest spectra may hold frames exposed while the session set up.
    void DropFirst(std::size_t n) {
        seconds.erase(seconds.begin(), seconds.begin() + static_cast<long>(n));
        for (auto& v : values) v.erase(v.begin(), v.begin() + static_cast<long>(n));
    }

private:
    std::vector<TraceBand> bands_;
    Clock::time_point start_;
};

struct LineFit {
    double intercept, slope, residualRms;
};

LineFit FitLine(const std::vector<double>& t, const std::vector<double>& v) {
    const double n = static_cast<double>(t.size());
    const double mt = std::accumulate(t.begin(), t.end(), 0.0) / n;
    const double mv = std::accumulate(v.begin(), v.end(), 0.0) / n;
    double stt = 0, stv = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        stt += (t[i] - mt) * (t[i] - mt);
        stv += (t[i] - mt) * (v[i] - mv);
    }
    const double slope = stv / stt;
    double sum = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const double r = v[i] - (mv + slope * (t[i] - mt));
        sum += r * r;
    }
    return {mv - slope * mt, slope, std::sqrt(sum / n)};
}

class TraceScenes : public SimulatedDevicesTest {
protected:
    // Runs a session on one unit until it has delivered spectra over at
    // least the span, and keeps what the taker computed from them.
    void Run(kestrion::SimulatedUnitSetup setup, double integralMs, int avgCount, double spanSeconds) {
        AddUnit(std::move(setup));
        DiscoverDevices();
        ASSERT_EQ(deviceList.size(), 1u);
        AcquisitionSession session(*taker);
        session.settings.integralTimeMS = integralMs;
        session.settings.avgCount = avgCount;
        session.Bind(deviceList[0]);
        // Generous for a loaded machine under a sanitizer; the simulator
        // paces frames by the clock, so the span is reached in about its time.
        const auto end = Clock::now() + std::chrono::seconds(60);
        while (taker->seconds.size() < 8 || taker->seconds.back() - taker->seconds[2] < spanSeconds) {
            ASSERT_LT(Clock::now(), end) << "too few spectra";
            session.Step();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        taker->DropFirst(2);
    }
    void Watch(std::vector<TraceBand> bands) { taker = std::make_unique<TraceTaker>(std::move(bands), Clock::now()); }

    std::unique_ptr<TraceTaker> taker;
};

}  // namespace

// The lamp's 763.5 nm line brightens by 10 % of its height a second while
// the 546.1 nm line stays: the ramped line's integral grows on a straight
// line at the rate set, and the steady line's centre does not move.
TEST_F(TraceScenes, ARampedLampLineGivesAStraightIntegralTraceAndASteadyCentre) {
    const auto& lines = kestrion::SceneLines(kestrion::Scene::MercuryArgonLamp);
    constexpr int kRamped = 8, kSteady = 2;
    ASSERT_NEAR(lines[kRamped].wavelengthNm, 763.511, 1e-9);
    ASSERT_NEAR(lines[kSteady].wavelengthNm, 546.074, 1e-9);
    const double ramped = lines[kRamped].wavelengthNm, steady = lines[kSteady].wavelengthNm;
    kestrion::SimulatedUnitSetup setup = kestrion::DefaultSimulatedUnit(0);
    setup.drift = {.line = kRamped, .heightPerSecond = 0.1};
    Watch({{ramped - 5, ramped + 5, BandQuantity::Integral}, {steady - 5, steady + 5, BandQuantity::PeakCentre}});
    // Averaging three 140 ms frames keeps the steady line's top near full
    // scale and its centre's noise near 0.005 nm.
    constexpr double kMs = 140;
    Run(setup, kMs, 3, 3.5);

    // Peak counts per ms × sigma √(2π) × ms: the line's area at rest.
    const double area = lines[kRamped].peak * kestrion::SceneLineWidthNm(kestrion::Scene::MercuryArgonLamp) *
                        std::sqrt(2 * M_PI) * kMs;
    const LineFit fit = FitLine(taker->seconds, taker->values[0]);
    EXPECT_NEAR(fit.slope, 0.1 * area, 0.1 * 0.1 * area);
    // Each spectrum arrives some tenths of a second after its frames' middle.
    EXPECT_NEAR(fit.intercept, area, 0.1 * area);
    EXPECT_LT(fit.residualRms, 0.03 * area) << "not a straight line";

    const std::vector<double>& centres = taker->values[1];
    const double mean = std::accumulate(centres.begin(), centres.end(), 0.0) / static_cast<double>(centres.size());
    double spread = 0;
    for (double c : centres) spread += (c - mean) * (c - mean);
    EXPECT_LT(std::sqrt(spread / static_cast<double>(centres.size())), 0.01);
    EXPECT_NEAR(mean, steady, 0.05);
}

// The ruby's lines move 0.3 nm a second to longer wavelengths: the R1
// pressure on the Mao scale rises as the shift gives it.
TEST_F(TraceScenes, AShiftingRubyLineGivesThePressureCurveOfItsShift) {
    const auto& lines = kestrion::SceneLines(kestrion::Scene::RubyFluorescence);
    const double r1 = lines[1].wavelengthNm;
    ASSERT_NEAR(r1, 694.25, 1e-9);
    constexpr double kNmPerSecond = 0.3;
    kestrion::SimulatedUnitSetup setup = kestrion::DefaultSimulatedUnit(1);
    setup.drift = {.shiftNmPerSecond = kNmPerSecond};
    // R1's path over the run; R2 follows 1.4 nm behind, lower.
    Watch({{r1 - 0.7, r1 + 1.6, BandQuantity::RubyPressure}});
    Run(setup, 50, 1, 2.5);

    // P = 1904/7.665 · ((λ/λ0)^7.665 − 1): nearly straight over a few nm.
    const auto pressure = [](double nm) {
        return 1904 / 7.665 * (std::pow(nm / kDefaultRubyReferenceNm, 7.665) - 1);
    };
    const double first = taker->seconds.front(), last = taker->seconds.back();
    const double expectedSlope = (pressure(r1 + kNmPerSecond * last) - pressure(r1 + kNmPerSecond * first)) / (last - first);
    const LineFit fit = FitLine(taker->seconds, taker->values[0]);
    EXPECT_NEAR(fit.slope, expectedSlope, 0.05 * expectedSlope);
    // The spectra arrive a little after their exposures' middle, so the
    // curve lags: by less than half a second even on a loaded machine.
    EXPECT_LT(fit.intercept, pressure(r1) + 0.05);
    EXPECT_GT(fit.intercept, pressure(r1) - 0.5 * expectedSlope);
    EXPECT_LT(fit.residualRms, 0.1) << "GPa";
}
