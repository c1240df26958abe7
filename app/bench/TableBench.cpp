// The table page as it is used: a live Form page on one simulated
// spectrometer of the largest model that delivers frames (3630 pixels; the
// model table's 4096-pixel row stands for unlisted models, which deliver no
// frames), shown at 800 × 600 and refreshed by its 100 ms timer for 20 s,
// against a bare page that pulls the same frames and lists nothing; a Form
// page opened on a spectrum file of 20480 rows, against reading the file
// alone; and one refresh of a 3630-row table by itself. Reported: the window
// thread's CPU time and heap allocations per refresh, the open time, and the
// heap the open page holds beyond its X and Y numbers.
//
// Heap figures count every malloc, so Qt's strings and lists count as well
// as operator new; this program is never built with a sanitizer.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "DataFileLoad.h"
#include "DataFileSave.h"
#include "DeviceList.h"
#include "MessagePayloads.h"
#include "SpectrumFormDlg.h"
#include "SpectrumTableModel.h"
#include "simulator/SimulatedBus.h"
#include "usb/UsbBackend.h"

// Allocations made by the calling thread: malloc, calloc and realloc (and so
// operator new) are counted on their way to the C library's allocator.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
void __libc_free(void* p);
}
namespace {
thread_local long threadAllocations = 0;
}
extern "C" {
void* malloc(size_t size) {
    ++threadAllocations;
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
    ++threadAllocations;
    return __libc_calloc(count, size);
}
void* realloc(void* p, size_t size) {
    ++threadAllocations;
    return __libc_realloc(p, size);
}
void free(void* p) { __libc_free(p); }
}

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kFileRows = 20480;

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Heap bytes in use, from every arena and mapped chunk.
double HeapBytesInUse() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "quenlix_table_bench";
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

// Pulls frames on the same 100 ms timer and lists nothing.
class BarePage : public quenlix::CReceiveData {
public:
    using CReceiveData::CReceiveData;
    long spectra = 0;
    void OnNewSpectrum(int, const double*) override { ++spectra; }

protected:
    void OnTimer(int id) override {
        if (id == 2) PullFrames();
    }
};

void StartOneDevice() {
    auto bus = std::make_shared<kestrion::SimulatedBus>();
    bus->Add(kestrion::DefaultSimulatedUnit(0));
    kestrion::SetUsbBackend(bus);
    quenlix::DiscoverDevices();
}

void StopDevices() {
    quenlix::deviceList.clear();
    kestrion::SetUsbBackend(std::make_shared<kestrion::SimulatedBus>());
}

// Runs the shown page for 20 s after a settling second; spectra() counts
// the refreshes.
template <typename Spectra>
void MeasureRefreshes(benchmark::State& state, quenlix::CReceiveData& page, Spectra spectra) {
    const double tenMs = 10.0;  // a new frame on every tick
    page.ApplyParameter(0, quenlix::AsLParam<quenlix::WM_PAGE_PARAMETER>(tenMs));
    page.resize(800, 600);
    page.show();
    RunFor(1000);
    const long before = spectra();
    const long allocationsBefore = threadAllocations;
    const double cpuBefore = ThreadCpuSeconds();
    RunFor(20000);
    const double cpu = ThreadCpuSeconds() - cpuBefore;
    const double refreshes = static_cast<double>(spectra() - before);
    state.counters["refreshes"] = refreshes;
    if (refreshes <= 0) return;
    state.counters["ui_cpu_ms_per_refresh"] = cpu * 1000 / refreshes;
    state.counters["allocs_per_refresh"] = static_cast<double>(threadAllocations - allocationsBefore) / refreshes;
    state.counters["pixels"] = page.DeviceRecords().empty() ? 0 : page.DeviceRecords().front()->pointCount;
}

void BM_BarePageBaseline3630(benchmark::State& state) {
    EnsureApplication();
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    StartOneDevice();
    for (auto _ : state) {
        BarePage page;
        page.AddDeviceByNumber(0);
        page.SetTimer(2, 100);
        MeasureRefreshes(state, page, [&] { return page.spectra; });
    }
    StopDevices();
}
BENCHMARK(BM_BarePageBaseline3630)->Iterations(1)->Unit(benchmark::kSecond);

void BM_FormPageLive3630(benchmark::State& state) {
    EnsureApplication();
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    StartOneDevice();
    for (auto _ : state) {
        quenlix::CSpectrumFormDlg page;
        page.ShowDevice(0, 0);
        long refreshes = 0;
        QObject::connect(&page.Rows(), &QAbstractItemModel::dataChanged, [&] { ++refreshes; });
        MeasureRefreshes(state, page, [&] { return refreshes; });
    }
    StopDevices();
}
BENCHMARK(BM_FormPageLive3630)->Iterations(1)->Unit(benchmark::kSecond);

// Opens a Form page on a file of 20480 rows ten times, after one opening
// that lets Qt set up its fonts and styles. The page opens inside a window
// already shown, as a tab does, so the window's surface is not counted.
void BM_FormPageOpenFile20480(benchmark::State& state) {
    EnsureApplication();
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    QWidget window;
    window.resize(800, 600);
    window.show();
    QCoreApplication::processEvents();
    {
        std::vector<double> x(kFileRows), y(kFileRows);
        for (int i = 0; i < kFileRows; ++i) {
            x[i] = 200.0 + 0.04 * i;
            y[i] = 8000.0 + 7000.0 * std::sin(i * 0.01);
        }
        CDataFileSave writer;
        writer.SetPixelCount(kFileRows);
        writer.SaveSingleData(L"spectrum.txt", x.data(), y.data());
    }
    const QString path = QStringLiteral("spectrum.txt");
    const double dataBytes = 2.0 * kFileRows * sizeof(double);
    for (auto _ : state) {
        std::vector<double> openMs, readMs, beyondData;
        for (int run = 0; run <= 10; ++run) {
            const double heapBefore = HeapBytesInUse();
            const auto start = Clock::now();
            auto page = std::make_unique<quenlix::CSpectrumFormDlg>(&window);
            page->resize(800, 600);
            if (!page->ShowFile(path)) {
                state.SkipWithError("the file was refused");
                return;
            }
            page->show();
            QCoreApplication::processEvents();  // laid out and painted once
            const auto opened = Clock::now();
            const double held = HeapBytesInUse() - heapBefore;
            page.reset();

            const auto readStart = Clock::now();
            CDataFileLoad reader;
            std::vector<double> x(kFileRows), y(kFileRows);
            reader.SetLoadingSingleDataFilePath(path.toStdWString());
            reader.LoadSingleData(x.data(), y.data());
            const auto readEnd = Clock::now();
            if (run == 0) continue;
            openMs.push_back(Milliseconds(opened - start));
            readMs.push_back(Milliseconds(readEnd - readStart));
            beyondData.push_back(held - dataBytes);
        }
        state.counters["rows"] = kFileRows;
        state.counters["open_ms_median"] = Median(openMs);
        state.counters["read_only_ms_median"] = Median(readMs);
        state.counters["open_over_read"] = Median(openMs) / Median(readMs);
        state.counters["heap_beyond_data_MB"] = Median(beyondData) / 1e6;
    }
}
BENCHMARK(BM_FormPageOpenFile20480)->Iterations(1)->Unit(benchmark::kMillisecond);

// SetY on a shown table of 3630 rows, without the repaint it schedules.
void BM_TableRefresh3630(benchmark::State& state) {
    EnsureApplication();
    constexpr int kRows = 3630;
    quenlix::SpectrumTableModel rows;
    QTableView view;
    view.setModel(&rows);
    view.resize(800, 600);
    view.show();
    std::vector<double> x(kRows), y(kRows);
    for (int i = 0; i < kRows; ++i) x[i] = 200.0 + 0.25 * i;
    rows.ShowX(x);
    QCoreApplication::processEvents();
    const long allocationsBefore = threadAllocations;
    long calls = 0;
    for (auto _ : state) {
        y[calls % kRows] += 1.0;
        rows.SetY(y.data(), kRows);
        ++calls;
    }
    state.counters["allocs_per_refresh"] = static_cast<double>(threadAllocations - allocationsBefore) / calls;
    view.setModel(nullptr);
}
BENCHMARK(BM_TableRefresh3630)->Unit(benchmark::kMicrosecond);

}  // namespace
