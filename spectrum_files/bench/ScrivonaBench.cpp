// Saving and loading a 3648-pixel spectrum, against a plain getline + strtod
// pass over the same file as baseline. After the runs the ratios to the
// baseline are printed.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "DataFileLoad.h"
#include "DataFileSave.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPixels = 3648;

struct Sample {
    Sample() : x(kPixels), y(kPixels) {
        for (int i = 0; i < kPixels; ++i) {
            x[i] = 200.0 + i * 0.2467;
            y[i] = 1500.0 + 13000.0 * (i % 97) / 97.0 + 0.37 * (i % 11);
        }
    }
    std::vector<double> x, y;
};

const Sample& TheSample() {
    static const Sample sample;
    return sample;
}

// A scratch directory for the run, removed at exit.
const std::string& ScratchDir() {
    static const std::string dir = [] {
        std::string pattern = (fs::temp_directory_path() / "scrivona-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        std::atexit([] { fs::remove_all(ScratchDir()); });
        return pattern;
    }();
    return dir;
}

void SetUpWriter(CDataFileSave& save) {
    save.SetUsingLanguage(2);
    save.SetPixelCount(kPixels);
    save.SetDataType(0, 0);
    save.SetDeviceInfo(L"Nova", L"V1.2", L"SN-42");
    save.SetSpectrumInfo(100000, 1, 0);
    save.SetDecimalCount(3, 3);
}

// The spectrum file read by the load benchmarks.
const std::string& SampleFile() {
    static const std::string path = [] {
        const std::string file = ScratchDir() + "/sample.txt";
        CDataFileSave save;
        SetUpWriter(save);
        if (save.SaveSingleData(std::wstring(file.begin(), file.end()), TheSample().x.data(),
                                TheSample().y.data()) != 1) {
            std::abort();
        }
        return file;
    }();
    return path;
}

void BM_BaselineGetlineStrtod(benchmark::State& state) {
    const std::string& path = SampleFile();
    std::vector<double> x(kPixels), y(kPixels);
    for (auto _ : state) {
        std::ifstream in(path);
        std::string line;
        for (int i = 0; i < 17; ++i) std::getline(in, line);
        for (int i = 0; i < kPixels && std::getline(in, line); ++i) {
            char* end = nullptr;
            x[i] = std::strtod(line.c_str(), &end);
            y[i] = std::strtod(end, nullptr);
        }
        benchmark::DoNotOptimize(y.data());
    }
}
BENCHMARK(BM_BaselineGetlineStrtod)->Unit(benchmark::kMicrosecond);

void BM_LoadSingleData(benchmark::State& state) {
    const std::string& path = SampleFile();
    const std::wstring widePath(path.begin(), path.end());
    std::vector<double> x(kPixels), y(kPixels);
    for (auto _ : state) {
        CDataFileLoad load;
        if (load.SetLoadingSingleDataFilePath(widePath) != 1 || load.GetPixelCount() != kPixels) {
            state.SkipWithError("load failed");
            break;
        }
        load.LoadSingleData(x.data(), y.data());
        benchmark::DoNotOptimize(y.data());
    }
}
BENCHMARK(BM_LoadSingleData)->Unit(benchmark::kMicrosecond);

void BM_SaveSingleData(benchmark::State& state) {
    CDataFileSave save;
    SetUpWriter(save);
    const std::string file = ScratchDir() + "/single.txt";
    const std::wstring path(file.begin(), file.end());
    for (auto _ : state) {
        if (save.SaveSingleData(path, TheSample().x.data(), TheSample().y.data()) != 1) {
            state.SkipWithError("save failed");
            break;
        }
    }
}
BENCHMARK(BM_SaveSingleData)->Unit(benchmark::kMicrosecond);

// Series saving, every frame a file; the serial number cycles through 64
// names so the scratch directory stays small.
void BM_SaveSeqDataEveryFrame(benchmark::State& state) {
    CDataFileSave save;
    SetUpWriter(save);
    std::wstring dir(ScratchDir().begin(), ScratchDir().end());
    save.SetSavingSeqDataFileNameInfo(dir, L"S", 5);
    save.SetSavingSeqDataFileNameIncludeTime(true, true);
    int frame = 0;
    for (auto _ : state) {
        save.ResetSerNum(frame++ % 64);
        if (save.SaveSeqData(TheSample().x.data(), TheSample().y.data()) != 1) {
            state.SkipWithError("save failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SaveSeqDataEveryFrame)->Unit(benchmark::kMicrosecond);

// Prints as the console does, then each benchmark's time over the baseline's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) times_[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto baseline = times_.find("BM_BaselineGetlineStrtod");
        if (baseline == times_.end()) return;
        for (const auto& [name, time] : times_) {
            if (name == baseline->first) continue;
            std::printf("%-28s %.2fx baseline (%.0f per second)\n", name.c_str(), time / baseline->second,
                        1e6 / time);
        }
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
