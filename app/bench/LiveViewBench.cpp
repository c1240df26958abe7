// The live page as a user runs it for hours: four simulated spectrometers
// of the largest model (3630 pixels) at 10 ms, the chart shown at 1600 × 900 with the
// automatic peak search on, for 30 s. Reported per run: the window thread's
// CPU time per second, the repaint time (median and 99th percentile), the
// spectra shown per device against the frames the slowest device delivered
// (a step waits until every device has a new frame), and the heap
// allocations per repaint. The baseline is the same page with no device.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <new>
#include <vector>

#include "DeviceList.h"
#include "MessagePayloads.h"
#include "SpectrumDisplayDlg.h"
#include "ToolbarCommands.h"
#include "simulator/SimulatedBus.h"
#include "usb/UsbBackend.h"

namespace {

// Heap allocations made by any thread; the repaint counts those made while
// it runs on the window thread.
std::atomic<long> allocations{0};

}  // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using Clock = std::chrono::steady_clock;

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Times every paint of the chart by delivering it itself, once.
class RepaintTimer : public QObject {
public:
    std::vector<double> milliseconds;
    std::vector<long> allocationsPerPaint;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || inside_) return false;
        inside_ = true;
        const long allocatedBefore = allocations.load();
        const auto start = Clock::now();
        QCoreApplication::sendEvent(watched, event);
        milliseconds.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        allocationsPerPaint.push_back(allocations.load() - allocatedBefore);
        inside_ = false;
        return true;
    }

private:
    bool inside_ = false;
};

double Percentile(std::vector<double> values, double share) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(share * static_cast<double>(values.size())))];
}

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "quenlix_liveview_bench";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    new QApplication(argc, argv);
}

void RunLivePage(benchmark::State& state, int devices) {
    constexpr int kSeconds = 30;
    EnsureApplication();
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    auto bus = std::make_shared<kestrion::SimulatedBus>();
    // The simulator's default model is its largest with a frame layout
    // (3630 pixels); the table's 4096-pixel row stands for unlisted models,
    // which deliver no frames.
    for (int k = 0; k < devices; ++k) bus->Add(kestrion::DefaultSimulatedUnit(k));
    kestrion::SetUsbBackend(bus);
    quenlix::DiscoverDevices();

    for (auto _ : state) {
        quenlix::CSpectrumDisplayDlg page;
        page.resize(1600, 900 + 24 + 50 + 150);
        page.show();
        std::vector<int> all;
        for (int k = 0; k < devices; ++k) all.push_back(k);
        quenlix::SendWithWParam<quenlix::WM_CHOSEN_SOURCES>(&page, all, 0);
        const double tenMs = 10.0;
        page.ApplyParameter(0, quenlix::AsLParam<quenlix::WM_PAGE_PARAMETER>(tenMs));
        quenlix::SendMessage(&page, quenlix::WM_TOOLBAR_COMMAND, quenlix::ID_BTN_AUTO_PEAK, 1);

        // Let the devices settle on the new time first.
        QEventLoop settle;
        QTimer::singleShot(1000, &settle, &QEventLoop::quit);
        settle.exec();

        RepaintTimer repaints;
        page.Canvas()->installEventFilter(&repaints);
        std::vector<long> framesBefore, spectraBefore;
        for (const auto& record : page.DeviceRecords()) {
            framesBefore.push_back(record->link->GetFrameNo());
            spectraBefore.push_back(record->preprocessor->GetDataNo());
        }
        const double cpuBefore = ThreadCpuSeconds();
        const auto wallBefore = Clock::now();
        QEventLoop loop;
        QTimer::singleShot(kSeconds * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        const double wall = std::chrono::duration<double>(Clock::now() - wallBefore).count();
        const double cpu = ThreadCpuSeconds() - cpuBefore;
        page.Canvas()->removeEventFilter(&repaints);

        long slowestFrames = -1, fewestSpectra = -1;
        for (std::size_t i = 0; i < page.DeviceRecords().size(); ++i) {
            const auto& record = page.DeviceRecords()[i];
            const long frames = record->link->GetFrameNo() - framesBefore[i];
            const long spectra = record->preprocessor->GetDataNo() - spectraBefore[i];
            slowestFrames = slowestFrames < 0 ? frames : std::min(slowestFrames, frames);
            fewestSpectra = fewestSpectra < 0 ? spectra : std::min(fewestSpectra, spectra);
        }
        state.counters["ui_cpu_s_per_s"] = cpu / wall;
        state.counters["repaint_median_ms"] = Percentile(repaints.milliseconds, 0.5);
        state.counters["repaint_p99_ms"] = Percentile(repaints.milliseconds, 0.99);
        state.counters["repaints"] = static_cast<double>(repaints.milliseconds.size());
        std::vector<double> allocated(repaints.allocationsPerPaint.begin(), repaints.allocationsPerPaint.end());
        state.counters["allocs_per_repaint_median"] = Percentile(allocated, 0.5);
        state.counters["allocs_per_repaint_max"] = Percentile(allocated, 1.0);
        state.counters["pixels"] = page.DeviceRecords().empty() ? 0 : page.DeviceRecords().front()->pointCount;
        if (slowestFrames > 0) {
            state.counters["shown_per_frame"] = static_cast<double>(fewestSpectra) / static_cast<double>(slowestFrames);
            state.counters["frames_per_device"] = static_cast<double>(slowestFrames);
        }
    }
    quenlix::deviceList.clear();
    kestrion::SetUsbBackend(std::make_shared<kestrion::SimulatedBus>());
}

void BM_LivePageBaselineNoDevice(benchmark::State& state) { RunLivePage(state, 0); }
BENCHMARK(BM_LivePageBaselineNoDevice)->Iterations(1)->Unit(benchmark::kSecond);

void BM_LivePageFourDevices3630Pixels10ms(benchmark::State& state) { RunLivePage(state, 4); }
BENCHMARK(BM_LivePageFourDevices3630Pixels10ms)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
