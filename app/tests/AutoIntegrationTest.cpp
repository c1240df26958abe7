#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <thread>
#include <vector>

#include "AcquisitionSession.h"
#include "AppTestSupport.h"
#include "AutoIntegration.h"

using namespace quenlix;
using namespace quenlix::testing;
using Outcome = AutoIntegration::Outcome;

namespace {

// A device like the simulated model: 16500 counts full scale, 4 ms … 10 s.
AutoIntegration::Device Model(std::array<int32_t, 3> defects = {0, 0, 0}) {
    return {.fullScale = 16500, .shortestMs = 4, .longestMs = 10000, .pixels = 400, .defectRecord = defects};
}

// A frame of a detector with a dark level of 990 counts under one line of
// `perMs` counts per ms at pixel 200 and a faint continuum, clipped at full
// scale, as the device would give at `ms`.
std::vector<double> LineFrame(double perMs, double ms) {
    std::vector<double> frame(400);
    for (int p = 0; p < 400; ++p) {
        const double d = (p - 200) / 3.0;
        frame[p] = std::min(16500.0, 990 + ms * (0.02 * perMs + perMs * std::exp(-0.5 * d * d)));
    }
    return frame;
}

struct Ended {
    Outcome outcome;
    int steps;
    double ms;
    double peakFraction;
};

// Drives a stepper on LineFrame as the owner would: each time proposed is
// taken as asked and the next frame is a fresh one.
Ended Drive(AutoIntegration& stepper, double perMs, double startMs) {
    long frameNo = 10;
    stepper.Begin(startMs, frameNo);
    double ms = startMs;
    while (stepper.IsRunning()) {
        const std::vector<double> frame = LineFrame(perMs, ms);
        if (const auto next = stepper.Take(frame.data(), ++frameNo)) {
            ms = *next;
            stepper.Applied(ms, frameNo + 1);  // one frame was still in flight
            ++frameNo;
        }
    }
    return {stepper.Result(), stepper.Step(), stepper.TimeMs(), stepper.PeakFraction()};
}

}  // namespace

// The time that puts the line's top at 0.8 of full scale is
// (13200 − 990) / perMs; the stepper ends within 5 % of that peak, however
// bright the line and wherever it starts, saturated or not.
TEST(AutoIntegration, ReachesTheTargetWithinSixStepsOnLinesOfManyBrightnesses) {
    for (const double perMs : {1.0, 12.0, 104.0, 900.0}) {
        for (const double startMs : {4.0, 100.0, 1000.0}) {
            SCOPED_TRACE(::testing::Message() << perMs << " counts/ms from " << startMs << " ms");
            const double wanted = (13200 - 990) / (1.02 * perMs);
            if (wanted > 10000) continue;         // too dark for the longest time
            if (startMs / wanted > 64) continue;  // halving that far takes more than six steps
            AutoIntegration stepper(Model());
            const Ended run = Drive(stepper, perMs, startMs);
            ASSERT_EQ(run.outcome, Outcome::Reached);
            EXPECT_LE(run.steps, AutoIntegration::kMaxSteps);
            EXPECT_NEAR(run.peakFraction, 0.8, 0.04);
            const std::vector<double> final = LineFrame(perMs, run.ms);
            EXPECT_NEAR(*std::max_element(final.begin(), final.end()) / 16500, 0.8, 0.04) << run.ms << " ms";
        }
    }
    // Another target fraction is kept to in the same way.
    AutoIntegration half(Model(), 0.5);
    const Ended run = Drive(half, 104, 100);
    EXPECT_EQ(run.outcome, Outcome::Reached);
    EXPECT_NEAR(run.peakFraction, 0.5, 0.025);
}

TEST(AutoIntegration, EndsAtTheLimitsTheSceneCannotLeave) {
    {
        AutoIntegration stepper(Model());
        const Ended run = Drive(stepper, 50000, 10);  // saturated even at 4 ms
        EXPECT_EQ(run.outcome, Outcome::StillSaturated);
        EXPECT_EQ(run.ms, 4);
        EXPECT_EQ(run.steps, 3) << "10, 5, then 4 ms";
    }
    {
        AutoIntegration stepper(Model());
        const Ended run = Drive(stepper, 3800, 4);  // just under full scale at 4 ms
        EXPECT_EQ(run.outcome, Outcome::TooBright);
        EXPECT_EQ(run.ms, 4);
        EXPECT_EQ(run.steps, 1);
    }
    {
        AutoIntegration stepper(Model());
        const Ended run = Drive(stepper, 0.5, 100);  // 0.4 of full scale even at 10 s
        EXPECT_EQ(run.outcome, Outcome::TooDark);
        EXPECT_EQ(run.ms, 10000);
        EXPECT_EQ(run.steps, 2);
        EXPECT_NEAR(run.peakFraction, (990 + 10000 * 0.51) / 16500, 1e-9);
    }
    {
        // From 10 s a line wanting 10 ms halves six times and is still saturated.
        AutoIntegration stepper(Model());
        const Ended run = Drive(stepper, 1200, 10000);
        EXPECT_EQ(run.outcome, Outcome::NotReached);
        EXPECT_EQ(run.steps, 6);
        EXPECT_EQ(run.ms, 10000.0 / 32) << "the time of the last frame judged stays";
    }
}

// Pixels 3 (in the margin) and 300 (named by the defect record) are hot; the
// record's 0 names no pixel, and the line alone sits at the target.
TEST(AutoIntegration, LeavesOutTheMarginAndTheDefectPixels) {
    const double ms = 115;  // 0.799 of full scale
    std::vector<double> frame = LineFrame(104, ms);
    frame[3] = frame[300] = 16500;
    AutoIntegration stepper(Model({0, 300, 5000}));
    stepper.Begin(ms, 0);
    EXPECT_FALSE(stepper.Take(frame.data(), 1));
    EXPECT_EQ(stepper.Result(), Outcome::Reached);

    // A hot pixel the record does not name counts as saturation.
    AutoIntegration unaware(Model());
    unaware.Begin(ms, 0);
    EXPECT_EQ(unaware.Take(frame.data(), 1), ms / 2);

    // With no margin the hot pixel 3 is searched too.
    AutoIntegration noMargin(Model({300, 0, 0}), 0.8, 0);
    noMargin.Begin(ms, 0);
    EXPECT_EQ(noMargin.Take(frame.data(), 1), ms / 2);
}

TEST(AutoIntegration, JudgesOnlyFramesAfterTheChangeAndCancelsBackToItsStart) {
    AutoIntegration stepper(Model());
    const std::vector<double> dim = LineFrame(10, 100);
    stepper.Begin(100, 7);
    EXPECT_FALSE(stepper.Take(dim.data(), 7)) << "not newer than the frame at the start";
    EXPECT_EQ(stepper.Step(), 0);
    const auto next = stepper.Take(dim.data(), 8);
    ASSERT_TRUE(next);
    EXPECT_EQ(stepper.Step(), 1);
    EXPECT_FALSE(stepper.Take(dim.data(), 9)) << "no frame counts until the new time is applied";
    stepper.Applied(*next, 10);
    EXPECT_FALSE(stepper.Take(dim.data(), 10)) << "published before the change";
    EXPECT_EQ(stepper.Step(), 1);
    EXPECT_EQ(stepper.Cancel(), 100);
    EXPECT_EQ(stepper.Result(), Outcome::Cancelled);
    EXPECT_FALSE(stepper.Take(dim.data(), 11));
}

namespace {

using Clock = std::chrono::steady_clock;

// A session owner that runs a stepper on its one device as the live page and
// the command-line tool do, and keeps every frame judged with its time.
class Owner : public AcquisitionListener {
public:
    AcquisitionSession session{*this};
    std::optional<AutoIntegration> stepper;
    struct Judged {
        double ms;
        double top;     // the highest pixel
        double signal;  // its height above the frame's floor
    };
    std::vector<Judged> judged;

    void FrameTaken(const ViewDevice& record) override {
        if (!stepper || !stepper->IsRunning()) return;
        const int before = stepper->Step();
        const double ms = stepper->TimeMs();
        const auto next = stepper->Take(record.frame.data(), record.lastFrameNo);
        if (stepper->Step() != before) {
            const auto [low, high] = std::minmax_element(record.frame.begin() + 10, record.frame.end() - 10);
            judged.push_back({ms, *high, *high - *low});
        }
        if (!next) return;
        session.ApplyIntegralTime(*next);
        stepper->Applied(record.link->GetIntegralTimeMS(), record.link->GetFrameNo());
    }

    // Runs the stepper from startMs on the bound device; false when it did not end in time.
    bool RunFrom(double startMs) {
        session.ApplyIntegralTime(startMs);
        const ViewDevice& record = *session.Records().front();
        stepper.emplace(AutoIntegration::DeviceOf(*record.link));
        stepper->Begin(record.link->GetIntegralTimeMS(), record.link->GetFrameNo());
        const auto end = Clock::now() + std::chrono::seconds(60);
        while (stepper->IsRunning() && Clock::now() < end) {
            session.Step();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return !stepper->IsRunning();
    }
    // The peak of a fresh frame at the time the stepper ended at, over the pixels it searched.
    double FreshPeakFraction() {
        ViewDevice& record = *session.Records().front();
        const long after = record.link->GetFrameNo() + 1;
        const auto end = Clock::now() + std::chrono::seconds(30);
        while (record.lastFrameNo <= after && Clock::now() < end) {
            session.Step();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        const auto top = std::max_element(record.frame.begin() + AutoIntegration::kDefaultMargin,
                                          record.frame.end() - AutoIntegration::kDefaultMargin);
        return *top / record.link->GetMaxY();
    }
};

using AutoIntegrationOnSimulator = SimulatedDevicesTest;

}  // namespace

// The simulated lamp and ruby at several brightnesses: every run reaches 0.8
// of full scale, and a frame taken afterwards shows it too. Every frame judged
// has the line's signal the time it was judged at gives (counts per ms stay
// the same), so none was exposed, even in part, with an earlier time.
TEST_F(AutoIntegrationOnSimulator, ScenesOfSeveralBrightnessesConvergeOnFreshFramesOnly) {
    for (const kestrion::Scene scene : {kestrion::Scene::MercuryArgonLamp, kestrion::Scene::RubyFluorescence}) {
        for (const double brightness : {0.3, 1.0, 4.0}) {
            SCOPED_TRACE(::testing::Message() << kestrion::SceneName(scene) << " at " << brightness);
            kestrion::SimulatedUnitSetup setup = kestrion::DefaultSimulatedUnit(0);
            setup.scene = scene;
            setup.brightness = brightness;
            AddUnit(setup);
            DiscoverDevices();
            ASSERT_EQ(deviceList.size(), 1u);
            Owner owner;
            owner.session.Bind(deviceList.front());
            ASSERT_TRUE(owner.RunFrom(100));
            EXPECT_EQ(owner.stepper->Result(), Outcome::Reached);
            EXPECT_LE(owner.stepper->Step(), AutoIntegration::kMaxSteps);
            EXPECT_NEAR(owner.FreshPeakFraction(), 0.8, 0.05);
            EXPECT_EQ(owner.session.settings.integralTimeMS, owner.stepper->TimeMs());

            std::vector<double> perMs;
            for (const Owner::Judged& j : owner.judged)
                if (j.top < 16000) perMs.push_back(j.signal / j.ms);  // the unsaturated ones
            ASSERT_GE(perMs.size(), 1u);
            for (const double rate : perMs) EXPECT_NEAR(rate / perMs.front(), 1.0, 0.1);
            owner.session.UnbindAll();
            deviceList.clear();
            bus = std::make_shared<kestrion::SimulatedBus>();
            kestrion::SetUsbBackend(bus);
        }
    }
}

TEST_F(AutoIntegrationOnSimulator, AFarTooBrightSceneEndsStillSaturatedAtTheShortestTime) {
    kestrion::SimulatedUnitSetup setup = kestrion::DefaultSimulatedUnit(0);
    setup.brightness = 100;  // the lamp's strongest line fills 2.5 times full scale in 4 ms
    AddUnit(setup);
    DiscoverDevices();
    Owner owner;
    owner.session.Bind(deviceList.front());
    ASSERT_TRUE(owner.RunFrom(16));
    EXPECT_EQ(owner.stepper->Result(), Outcome::StillSaturated);
    EXPECT_EQ(owner.session.Records().front()->link->GetIntegralTimeMS(), 4);
    EXPECT_EQ(owner.stepper->Step(), 3) << "16, 8, then 4 ms";
}
