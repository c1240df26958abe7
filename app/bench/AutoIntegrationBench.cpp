// The automatic integration time on three simulated scenes, each started at
// 100 ms as a fresh live page is: a lamp that needs a little more time, a dim
// ruby that needs several times more, and a bright lamp saturated at the
// start, which is halved first. Reports the steps (frames judged), the time
// found, the peak there in per cent of full scale and the wall time of the
// run. The baseline is the run's exposure: the sum of the integration times
// of the frames it judged, the least any run on those frames could take; the
// ratio shows what waiting for fresh frames after each change costs.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <optional>
#include <thread>

#include "AcquisitionSession.h"
#include "AutoIntegration.h"
#include "DeviceList.h"
#include "simulator/SimulatedBus.h"
#include "usb/UsbBackend.h"

namespace {

using Clock = std::chrono::steady_clock;
using quenlix::AutoIntegration;

// Runs the stepper on the session's one device, as the live page does from
// its frames.
class Runner : public quenlix::AcquisitionListener {
public:
    quenlix::AcquisitionSession session{*this};
    std::optional<AutoIntegration> stepper;
    double exposureMs = 0;

    void FrameTaken(const quenlix::ViewDevice& record) override {
        if (!stepper || !stepper->IsRunning()) return;
        const int before = stepper->Step();
        const double ms = stepper->TimeMs();
        const auto next = stepper->Take(record.frame.data(), record.lastFrameNo);
        if (stepper->Step() != before) exposureMs += ms;
        if (!next) return;
        session.ApplyIntegralTime(*next);
        stepper->Applied(record.link->GetIntegralTimeMS(), record.link->GetFrameNo());
    }
};

void Run(benchmark::State& state, kestrion::Scene scene, double brightness) {
    auto bus = std::make_shared<kestrion::SimulatedBus>();
    kestrion::SimulatedUnitSetup setup = kestrion::DefaultSimulatedUnit(0);
    setup.scene = scene;
    setup.brightness = brightness;
    bus->Add(setup);
    kestrion::SetUsbBackend(bus);
    quenlix::DiscoverDevices();
    for (auto _ : state) {
        Runner runner;
        runner.session.settings.integralTimeMS = 100;
        runner.session.Bind(quenlix::deviceList.front());
        const quenlix::ViewDevice& record = *runner.session.Records().front();
        // The first frame at 100 ms, as a page running before the button is pressed has.
        while (runner.session.Records().front()->lastFrameNo < 2) {
            runner.session.Step();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        const auto start = Clock::now();
        runner.stepper.emplace(AutoIntegration::DeviceOf(*record.link));
        runner.stepper->Begin(record.link->GetIntegralTimeMS(), record.link->GetFrameNo());
        while (runner.stepper->IsRunning()) {
            runner.session.Step();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        const double wallMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        state.counters["reached"] = runner.stepper->Result() == AutoIntegration::Outcome::Reached ? 1 : 0;
        state.counters["steps"] = runner.stepper->Step();
        state.counters["final_ms"] = runner.stepper->TimeMs();
        state.counters["peak_percent"] = 100 * runner.stepper->PeakFraction();
        state.counters["wall_ms"] = wallMs;
        state.counters["baseline_exposure_ms"] = runner.exposureMs;
        state.counters["wall_over_exposure"] = wallMs / runner.exposureMs;
    }
    quenlix::deviceList.clear();
    kestrion::SetUsbBackend(std::make_shared<kestrion::SimulatedBus>());
}

void BM_LampFrom100ms(benchmark::State& state) { Run(state, kestrion::Scene::MercuryArgonLamp, 1.0); }
BENCHMARK(BM_LampFrom100ms)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_DimRubyFrom100ms(benchmark::State& state) { Run(state, kestrion::Scene::RubyFluorescence, 0.3); }
BENCHMARK(BM_DimRubyFrom100ms)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_SaturatedLampFrom100ms(benchmark::State& state) { Run(state, kestrion::Scene::MercuryArgonLamp, 4.0); }
BENCHMARK(BM_SaturatedLampFrom100ms)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
