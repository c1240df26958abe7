// The calibration page's two commands whose cost grows with the table: Calc
// Params on 40 pairs (reading the cells, loading the numeric library, the
// fit, R² and the fields) and the table's synchronisation with 200 markings
// after a marking command (the line centres under the markings included),
// both on a page showing one simulated lamp spectrometer of 3630 pixels.
// Each is measured against a budget of 5 ms; "budget" is the share of it used.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <cstdlib>
#include <memory>

#include "DeviceList.h"
#include "ToolbarCommands.h"
#include "WavelengthCalibrationDlg.h"
#include "simulator/SimulatedBus.h"
#include "usb/UsbBackend.h"

namespace {

constexpr double kBudgetSeconds = 0.005;

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "quenlix_calibration_bench";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    new QApplication(argc, argv);
}

void RunFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A shown page on one lamp device that has received a few spectra.
std::unique_ptr<quenlix::CWavelengthCalibrationDlg> OpenPage() {
    EnsureApplication();
    auto bus = std::make_shared<kestrion::SimulatedBus>();
    bus->Add(kestrion::DefaultSimulatedUnit(0));
    kestrion::SetUsbBackend(bus);
    quenlix::DiscoverDevices();
    auto page = std::make_unique<quenlix::CWavelengthCalibrationDlg>(0);
    page->resize(1000, 700);
    page->show();
    RunFor(600);
    return page;
}

void ReportBudget(benchmark::State& state, double seconds) {
    state.counters["ms"] = seconds * 1e3;
    state.counters["budget"] = seconds / kBudgetSeconds;
}

void CalcParams40Pairs(benchmark::State& state) {
    auto page = OpenPage();
    for (int k = 0; k < 40; ++k) {
        const double p = 50 + 85 * k;
        page->PixelBox()->setText(QString::number(p));
        page->WavelengthBox()->setText(QString::number(200 + 0.26 * p - 5e-6 * p * p + 1e-10 * p * p * p, 'f', 4));
        page->Insert();
    }
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        page->CalcParams();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    ReportBudget(state, total / static_cast<double>(state.iterations()));
    page.reset();
    quenlix::deviceList.clear();
}

void SyncTable200Markings(benchmark::State& state) {
    auto page = OpenPage();
    double total = 0;
    for (auto _ : state) {
        for (int k = 0; k < 200; ++k) page->Chart().AddMarking(10 + 18 * k);
        const auto start = std::chrono::steady_clock::now();
        // Adding at the read-out line adds nothing new here; the table then
        // takes all 200 markings.
        page->ChartMarkingCommand(quenlix::ID_ADD_MARKING);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (page->Table().Rows() < 200) state.SkipWithError("the table did not follow the markings");
        page->ChartMarkingCommand(quenlix::ID_DELETE_ALL_MARKINGS);
    }
    ReportBudget(state, total / static_cast<double>(state.iterations()));
    page.reset();
    quenlix::deviceList.clear();
}

BENCHMARK(CalcParams40Pairs)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(SyncTable200Markings)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace

BENCHMARK_MAIN();
