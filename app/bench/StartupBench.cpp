// Start-up of the program with two simulated spectrometers, from the
// application object to the main window's first painted frame, to the first
// spectrum painted on the live page it opens, and its teardown, as three
// figures; the baseline is showing and painting one empty maximised window.
// Then the program left running: the main window with two simulated
// spectrometers, its event loop run for 20 s, once with the live page it
// opens and once with that page closed (the links alone), and the process's
// CPU time (all threads, from /proc/self/stat) as a share of one core; the
// baseline is the same window without devices.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "BoundedFile.h"
#include "DeviceList.h"
#include "Kestrion.h"
#include "SpectrumDisplayDlg.h"
#include "Varelix2App.h"
#include "simulator/SimulatedBus.h"
#include "usb/UsbBackend.h"

namespace {

using Clock = std::chrono::steady_clock;

// Counts the paint events of the watched window.
class PaintWatcher : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

void WaitForFirstPaint(QWidget& window, PaintWatcher& watcher) {
    window.installEventFilter(&watcher);
    while (watcher.paints == 0) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// One offscreen application for the whole run, made before the first window.
void EnsureApplication() {
    static int argc = 1;
    static char name[] = "quenlix_startup_bench";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    new QApplication(argc, argv);
}

void BM_EmptyWindow(benchmark::State& state) {
    EnsureApplication();
    for (auto _ : state) {
        QWidget window;
        PaintWatcher watcher;
        window.showMaximized();
        WaitForFirstPaint(window, watcher);
    }
}
BENCHMARK(BM_EmptyWindow)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Waits for the live page's chart to be painted with a spectrum of its
// first device on it.
class SpectrumPaintWatcher : public QObject {
public:
    explicit SpectrumPaintWatcher(const quenlix::CSpectrumDisplayDlg& page) : page_(page) {}
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !page_.DeviceRecords().empty() &&
            page_.DeviceRecords().front()->preprocessor->GetDataNo() >= 1)
            painted = true;
        return false;
    }

private:
    const quenlix::CSpectrumDisplayDlg& page_;
};

void WaitForFirstSpectrum(quenlix::CVarelix2Dlg& window) {
    auto* page = dynamic_cast<quenlix::CSpectrumDisplayDlg*>(window.MainPanel()->RegionPanel()->SelectedPage());
    if (!page) return;
    SpectrumPaintWatcher watcher(*page);
    page->Canvas()->installEventFilter(&watcher);
    while (!watcher.painted) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    page->Canvas()->removeEventFilter(&watcher);
}

enum class Phase { StartUpToFirstPaint, StartUpToFirstSpectrum, Teardown };

void BM_MainWindowWithTwoSimulatedDevices(benchmark::State& state, Phase timed) {
    EnsureApplication();
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    for (auto _ : state) {
        UseSimulatedSpectrometers(2);
        const auto start = Clock::now();
        auto app = std::make_unique<quenlix::CVarelix2App>(folder.filePath("instance.lock"));
        PaintWatcher watcher;
        if (!app->InitInstance()) {
            state.SkipWithError("another instance holds the lock");
            break;
        }
        WaitForFirstPaint(*app->MainWindow(), watcher);
        const auto painted = Clock::now();
        if (quenlix::deviceList.size() != 2) state.SkipWithError("the devices did not start");
        WaitForFirstSpectrum(*app->MainWindow());
        const auto spectrum = Clock::now();
        app.reset();
        const auto ended = Clock::now();
        const auto took = timed == Phase::StartUpToFirstPaint      ? painted - start
                          : timed == Phase::StartUpToFirstSpectrum ? spectrum - start
                                                                   : ended - spectrum;
        state.SetIterationTime(std::chrono::duration<double>(took).count());
    }
}
BENCHMARK_CAPTURE(BM_MainWindowWithTwoSimulatedDevices, StartUpToFirstPaint, Phase::StartUpToFirstPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_MainWindowWithTwoSimulatedDevices, StartUpToFirstSpectrum, Phase::StartUpToFirstSpectrum)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_MainWindowWithTwoSimulatedDevices, Teardown, Phase::Teardown)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// User plus system CPU time of the whole process so far, in seconds.
double ProcessCpuSeconds() {
    const std::string stat = quenlix::ReadBoundedFile("/proc/self/stat", 4096).bytes;
    // The fields after the command name's closing parenthesis start with the
    // third; utime and stime are the 14th and 15th, in clock ticks.
    std::istringstream fields(stat.substr(stat.rfind(')') + 1));
    std::string field;
    for (int i = 3; i < 14 && fields >> field; ++i) {
    }
    unsigned long long user = 0, system = 0;
    fields >> user >> system;
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

void RunIdle(benchmark::State& state, int simulatedDevices, bool closePage) {
    constexpr int kSeconds = 20;
    EnsureApplication();
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    for (auto _ : state) {
        if (simulatedDevices > 0) {
            UseSimulatedSpectrometers(simulatedDevices);
        } else {
            kestrion::SetUsbBackend(std::make_shared<kestrion::SimulatedBus>());
        }
        quenlix::CVarelix2App app(folder.filePath("instance.lock"));
        PaintWatcher watcher;
        if (!app.InitInstance()) {
            state.SkipWithError("another instance holds the lock");
            break;
        }
        WaitForFirstPaint(*app.MainWindow(), watcher);
        if (closePage) {
            if (auto* page = app.MainWindow()->MainPanel()->RegionPanel()->SelectedPage()) page->ClosePage();
        }
        const double cpuBefore = ProcessCpuSeconds();
        const auto wallBefore = Clock::now();
        QEventLoop loop;
        QTimer::singleShot(kSeconds * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        const double wall = std::chrono::duration<double>(Clock::now() - wallBefore).count();
        state.counters["cpu_percent_of_a_core"] = 100.0 * (ProcessCpuSeconds() - cpuBefore) / wall;
        state.counters["devices"] = static_cast<double>(quenlix::deviceList.size());
    }
}

void BM_IdleBaselineWithoutDevices(benchmark::State& state) { RunIdle(state, 0, false); }
BENCHMARK(BM_IdleBaselineWithoutDevices)->Iterations(1)->Unit(benchmark::kSecond);

void BM_RunningWithTwoSimulatedDevicesOnTheLivePage(benchmark::State& state) { RunIdle(state, 2, false); }
BENCHMARK(BM_RunningWithTwoSimulatedDevicesOnTheLivePage)->Iterations(1)->Unit(benchmark::kSecond);

void BM_IdleWithTwoSimulatedDevicesNoPage(benchmark::State& state) { RunIdle(state, 2, true); }
BENCHMARK(BM_IdleWithTwoSimulatedDevicesNoPage)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
