// A timed series as a LIBS or kinetics user records it: one simulated
// spectrometer of the largest model with frames (3630 pixels) at its
// shortest integration time, the live page shown, a series in save mode 0
// (every new averaged spectrum) with no stop, for 30 s. Reported: averaged
// spectra produced and files written per second, their ratio (1 when none
// was skipped), and the window thread's longest stall, read as the longest
// gap between the ticks of a 1 ms heartbeat timer beyond its period. The
// baseline is the same page with no series.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "DeviceList.h"
#include "MessagePayloads.h"
#include "Prompts.h"
#include "SaveSerialSpectrumDataSettingDlg.h"
#include "SpectrumDisplayDlg.h"
#include "ToolbarCommands.h"
#include "simulator/SimulatedBus.h"
#include "usb/UsbBackend.h"

namespace {

using Clock = std::chrono::steady_clock;

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "quenlix_series_bench";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    new QApplication(argc, argv);
}

// Confirms the series dialog with save mode 0, no stop, into `folder`.
class SeriesPrompts : public quenlix::Prompts {
public:
    explicit SeriesPrompts(QString folder) : folder_(std::move(folder)) {}
    QString FolderName(QWidget*, const QString&) override { return folder_; }
    int RunModal(QDialog& dialog) override {
        auto& series = dynamic_cast<quenlix::CSaveSerialSpectrumDataSettingDlg&>(dialog);
        series.SaveModeChoice(0)->click();
        series.StopModeChoice(0)->click();
        series.ChooseDirButton()->click();
        series.BeginButton()->click();
        return series.result();
    }

private:
    QString folder_;
};

// The longest time the event loop could not serve a 1 ms timer.
class Heartbeat : public QObject {
public:
    Heartbeat() {
        timer_.setTimerType(Qt::PreciseTimer);
        connect(&timer_, &QTimer::timeout, this, [this] {
            const auto now = Clock::now();
            const double gap = std::chrono::duration<double, std::milli>(now - last_).count() - 1.0;
            longestMs = std::max(longestMs, gap);
            last_ = now;
        });
        last_ = Clock::now();
        timer_.start(1);
    }
    double longestMs = 0;

private:
    QTimer timer_;
    Clock::time_point last_;
};

void RunSeries(benchmark::State& state, bool withSeries) {
    constexpr int kSeconds = 30;
    EnsureApplication();
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    std::filesystem::create_directory("series");
    SeriesPrompts prompts(folder.filePath(QStringLiteral("series")));
    quenlix::InstallPrompts(&prompts);
    auto bus = std::make_shared<kestrion::SimulatedBus>();
    bus->Add(kestrion::DefaultSimulatedUnit(0));
    kestrion::SetUsbBackend(bus);
    quenlix::DiscoverDevices();

    for (auto _ : state) {
        quenlix::CSpectrumDisplayDlg page;
        page.resize(1280, 800);
        page.show();
        // The model's shortest time; the device takes the nearest it can.
        const double shortestMs = 0.001;
        page.ApplyParameter(0, quenlix::AsLParam<quenlix::WM_PAGE_PARAMETER>(shortestMs));
        QEventLoop settle;
        QTimer::singleShot(1000, &settle, &QEventLoop::quit);
        settle.exec();

        if (withSeries) page.Toolbar()->Button(quenlix::ID_BTN_SAVE_SERIES)->click();
        const auto& record = *page.DeviceRecords().front();
        const long spectraBefore = record.preprocessor->GetDataNo();
        const auto wallBefore = Clock::now();
        Heartbeat heartbeat;
        QEventLoop loop;
        QTimer::singleShot(kSeconds * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        const double wall = std::chrono::duration<double>(Clock::now() - wallBefore).count();
        const long spectra = record.preprocessor->GetDataNo() - spectraBefore;
        const int saved = page.Series().Saved();

        state.counters["integration_ms"] = record.link->GetIntegralTimeMS();
        state.counters["pixels"] = record.pointCount;
        state.counters["spectra_per_s"] = static_cast<double>(spectra) / wall;
        state.counters["files_per_s"] = static_cast<double>(saved) / wall;
        if (withSeries && spectra > 0)
            state.counters["files_per_spectrum"] = static_cast<double>(saved) / static_cast<double>(spectra);
        state.counters["longest_stall_ms"] = heartbeat.longestMs;
        if (page.Series().On()) page.Toolbar()->Button(quenlix::ID_BTN_SAVE_SERIES)->click();
    }
    quenlix::InstallPrompts(nullptr);
    quenlix::deviceList.clear();
    kestrion::SetUsbBackend(std::make_shared<kestrion::SimulatedBus>());
}

void BM_LivePageBaselineNoSeries(benchmark::State& state) { RunSeries(state, false); }
BENCHMARK(BM_LivePageBaselineNoSeries)->Iterations(1)->Unit(benchmark::kSecond);

void BM_SeriesEverySpectrum3630PixelsShortestTime(benchmark::State& state) { RunSeries(state, true); }
BENCHMARK(BM_SeriesEverySpectrum3630PixelsShortestTime)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
