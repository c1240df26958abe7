// A long acquisition run: two simulated spectrometers at 10 ms bound to one
// page that pulls on its own timer, as the live view does. Reports the frames
// the slower link delivered, the spectra each device gave the page, frames
// taken twice (must be 0), the step's mean and longest time, and USB transfers
// made on the window's thread (must be 0: the step copies published frames).
// The baseline is the same page's step with no device bound.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "DeviceList.h"
#include "ReceiveData.h"
#include "simulator/SimulatedBus.h"
#include "usb/UsbBackend.h"

namespace {

using Clock = std::chrono::steady_clock;

class TimedPage : public quenlix::CReceiveData {
public:
    using CReceiveData::CReceiveData;
    std::vector<long> lastFrame = {-1, -1};
    long spectra[2] = {0, 0};
    long repeated = 0;
    Clock::duration longest{0};
    Clock::duration total{0};
    long steps = 0;

    void Start() { SetTimer(2, AcquisitionInterval()); }

protected:
    void OnTimer(int) override {
        const auto start = Clock::now();
        PullFrames();
        const auto took = Clock::now() - start;
        longest = std::max(longest, took);
        total += took;
        ++steps;
    }
    void OnNewSpectrum(int number, const double*) override {
        for (const auto& record : deviceRecords) {
            if (record->number != number) continue;
            if (record->lastFrameNo <= lastFrame[number]) ++repeated;
            lastFrame[number] = record->lastFrameNo;
        }
        ++spectra[number];
    }
};

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "quenlix_acquisition_bench";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    new QApplication(argc, argv);
}

void RunEventLoop(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void Run(benchmark::State& state, int devices, int seconds) {
    EnsureApplication();
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    auto bus = std::make_shared<kestrion::SimulatedBus>();
    std::vector<std::shared_ptr<kestrion::SimulatedSpectrometer>> units;
    for (int k = 0; k < devices; ++k) units.push_back(bus->Add(kestrion::DefaultSimulatedUnit(k)));
    kestrion::SetUsbBackend(bus);
    quenlix::DiscoverDevices();
    for (auto _ : state) {
        TimedPage page;
        page.PutIntegralTime(10);
        for (int k = 0; k < devices; ++k) page.AddDeviceByNumber(k);
        for (auto& unit : units) unit->RecordTraffic(true);
        page.Start();
        RunEventLoop(seconds * 1000);
        long onWindowThread = 0;
        for (auto& unit : units) {
            for (const auto& record : unit->Traffic())
                if (record.thread == std::this_thread::get_id()) ++onWindowThread;
            unit->RecordTraffic(false);
        }
        long delivered = devices ? quenlix::deviceList[0].link->GetFrameNo() : 0;
        for (int k = 1; k < devices; ++k) delivered = std::min(delivered, quenlix::deviceList[k].link->GetFrameNo());
        state.counters["delivered"] = static_cast<double>(delivered);
        state.counters["spectra_dev0"] = static_cast<double>(page.spectra[0]);
        state.counters["spectra_dev1"] = static_cast<double>(page.spectra[1]);
        state.counters["taken_twice"] = static_cast<double>(page.repeated);
        state.counters["usb_on_window_thread"] = static_cast<double>(onWindowThread);
        state.counters["step_mean_ms"] = page.steps ? Ms(page.total) / page.steps : 0.0;
        state.counters["step_longest_ms"] = Ms(page.longest);
    }
    quenlix::deviceList.clear();
    kestrion::SetUsbBackend(std::make_shared<kestrion::SimulatedBus>());
}

void BM_BaselineStepWithoutDevices(benchmark::State& state) { Run(state, 0, 5); }
BENCHMARK(BM_BaselineStepWithoutDevices)->Iterations(1)->Unit(benchmark::kSecond);

void BM_TwoDevicesAt10msFor60s(benchmark::State& state) { Run(state, 2, 60); }
BENCHMARK(BM_TwoDevicesAt10msFor60s)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
