// Playing a long series back: a folder of 100 and one of 10 000 spectrum
// files of the largest model's frame (3630 pixels). Reported: the median time
// of one playback step (read one file and put it on the chart) in each folder
// and their ratio, which stays near 1 when a step does not depend on the
// folder's size; and the time to list the 10 000 names in the order of
// saving. The files of a folder are hard links to one file written by the
// spectrum writer, so both folders read from the page cache alike and the
// folder of 10 000 takes no more disk than one file.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "DataFileSave.h"
#include "MessagePayloads.h"
#include "OpenContinuousSettingDlg.h"
#include "OpenContinuousSpectrumDlg.h"
#include "Prompts.h"
#include "SpectrumFolder.h"
#include "ToolbarCommands.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kPixels = 3630;
constexpr int kSteps = 1000;

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "quenlix_replay_bench";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    new QApplication(argc, argv);
}

// A folder of `count` spectrum files named as a series, data00000.txt on.
void MakeSeriesFolder(const fs::path& folder, int count) {
    fs::create_directory(folder);
    const fs::path first = folder / "data00000.txt";
    std::vector<double> x(kPixels), y(kPixels);
    for (int i = 0; i < kPixels; ++i) {
        x[i] = 180 + 870.0 * i / (kPixels - 1);
        y[i] = 1000 + (i * 37 % 15000);
    }
    CDataFileSave writer;
    writer.SetUsingLanguage(2);
    writer.SetPixelCount(kPixels);
    if (writer.SaveSingleData(first.wstring(), x.data(), y.data()) != 1) std::abort();
    char name[32];
    for (int i = 1; i < count; ++i) {
        std::snprintf(name, sizeof name, "data%05d.txt", i);
        fs::create_hard_link(first, folder / name);
    }
}

// Confirms the settings dialog with `folder` and an interval no step waits for.
class ReplayPrompts : public quenlix::Prompts {
public:
    QString folder;
    QString FolderName(QWidget*, const QString&) override { return folder; }
    int RunModal(QDialog& dialog) override {
        auto& settings = dynamic_cast<quenlix::COpenContinuousSettingDlg&>(dialog);
        settings.IntervalBox()->setText(QStringLiteral("3600000"));
        settings.ChooseDirButton()->click();
        settings.OkButton()->click();
        return settings.result();
    }
};

// The page with its playback step driven directly.
class SteppedPage : public quenlix::COpenContinuousSpectrumDlg {
public:
    void Step() { OnTimer(kPlaybackTimer); }
    void Open() { SendMessage(this, quenlix::WM_TOOLBAR_COMMAND, quenlix::ID_BTN_OPEN_CONTINUOUS, 0); }
};

// Median milliseconds of a playback step over kSteps steps, starting again
// whenever the folder has been played through (not timed).
double MedianStepMs(ReplayPrompts& prompts, const fs::path& folder) {
    prompts.folder = QString::fromStdString(folder.string());
    SteppedPage page;
    page.resize(1600, 900);
    page.Open();
    std::vector<double> stepsMs;
    for (int i = 0; i < kSteps; ++i) {
        if (page.PlaybackIdle()) page.Open();
        const auto before = Clock::now();
        page.Step();
        stepsMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - before).count());
    }
    if (page.Replay().SkippedCount() != 0) std::abort();
    std::nth_element(stepsMs.begin(), stepsMs.begin() + kSteps / 2, stepsMs.end());
    return stepsMs[kSteps / 2];
}

void BM_ReplayStep3630PixelsIn100And10000Files(benchmark::State& state) {
    EnsureApplication();
    QTemporaryDir root;
    QDir::setCurrent(root.path());
    const fs::path small = fs::absolute("hundred"), large = fs::absolute("tenthousand");
    MakeSeriesFolder(small, 100);
    MakeSeriesFolder(large, 10000);
    ReplayPrompts prompts;
    quenlix::InstallPrompts(&prompts);
    for (auto _ : state) {
        const double smallMs = MedianStepMs(prompts, small);
        const double largeMs = MedianStepMs(prompts, large);
        state.counters["step_ms_100_files"] = smallMs;
        state.counters["step_ms_10000_files"] = largeMs;
        state.counters["step_ratio_10000_to_100"] = largeMs / smallMs;
    }
    quenlix::InstallPrompts(nullptr);
}
BENCHMARK(BM_ReplayStep3630PixelsIn100And10000Files)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ListTenThousandSpectrumFiles(benchmark::State& state) {
    QTemporaryDir root;
    const fs::path folder = fs::path(root.path().toStdString()) / "tenthousand";
    MakeSeriesFolder(folder, 10000);
    double longestMs = 0;
    for (auto _ : state) {
        const auto before = Clock::now();
        const std::vector<std::string> files = quenlix::ListSpectrumFiles(folder.string());
        longestMs =
            std::max(longestMs, std::chrono::duration<double, std::milli>(Clock::now() - before).count());
        if (files.size() != 10000) std::abort();
    }
    state.counters["longest_listing_ms"] = longestMs;
}
BENCHMARK(BM_ListTenThousandSpectrumFiles)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
