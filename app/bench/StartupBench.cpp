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

void BM_EmptyWindow(benchmark::State& state) {
    for (auto _ : state) {
        QWidget window;
        PaintWatcher watcher;
        window.showMaximized();
        WaitForFirstPaint(window, watcher);
    }
}
BENCHMARK(BM_EmptyWindow)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_MainWindowWithTwoSimulatedDevices(benchmark::State& state) {
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

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
