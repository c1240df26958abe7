// Start-up of the program with two simulated spectrometers, from the
// application object to the main window's first painted frame, against
// showing and painting one empty maximised window.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QTemporaryDir>
#include <cstdlib>

#include "DeviceList.h"
#include "Kestrion.h"
#include "Varelix2App.h"

namespace {

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

void BM_MainWindowWithTwoSimulatedDevices(benchmark::State& state) {
    EnsureApplication();
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    for (auto _ : state) {
        UseSimulatedSpectrometers(2);
        quenlix::CVarelix2App app(folder.filePath("instance.lock"));
        PaintWatcher watcher;
        if (!app.InitInstance()) state.SkipWithError("another instance holds the lock");
        WaitForFirstPaint(*app.MainWindow(), watcher);
        if (quenlix::deviceList.size() != 2) state.SkipWithError("the devices did not start");
    }
}
BENCHMARK(BM_MainWindowWithTwoSimulatedDevices)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
