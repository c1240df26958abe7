#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "AcquireOptions.h"
#include "AcquireRun.h"
#include "AcquisitionSession.h"
#include "DataFileLoad.h"
#include "DataFileSave.h"
#include "DeviceList.h"
#include "SpectrumFileWriter.h"
#include "simulator/SimulatedBus.h"
#include "usb/UsbBackend.h"

using namespace quenlix;
namespace fs = std::filesystem;

namespace {

// The simulated model's display window: its 3630 pixels but the first,
// whose wavelength lies on the range's lower end.
constexpr int kPoints = 3629;

double SimulatedWavelength(double p) { return 200.0 + 0.26 * p - 5e-6 * p * p + 1e-10 * p * p * p; }

struct Spectrum {
    std::vector<double> x, y;
    int xType = -1, yType = -1;
};

Spectrum Read(const fs::path& file) {
    CDataFileLoad load;
    Spectrum s;
    if (load.SetLoadingSingleDataFilePath(file.wstring()) != 1) {
        ADD_FAILURE() << "not readable: " << file;
        return s;
    }
    s.x.resize(load.GetPixelCount());
    s.y.resize(load.GetPixelCount());
    load.LoadSingleData(s.x.data(), s.y.data());
    load.GetDataType(s.xType, s.yType);
    return s;
}

std::vector<fs::path> FilesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

double Mean(const std::vector<double>& values, const std::vector<int>& at) {
    double sum = 0;
    for (int i : at) sum += values[i];
    return sum / at.size();
}

// Points of a lamp spectrum at least 25 points from any of its lines,
// which stand far over the dark level and faint continuum.
std::vector<int> PointsAwayFromTheLines(const std::vector<double>& lamp) {
    std::vector<double> sorted = lamp;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    const double median = sorted[sorted.size() / 2];
    const int n = static_cast<int>(lamp.size());
    std::vector<int> away;
    for (int p = 0; p < n; ++p) {
        bool nearLine = false;
        for (int q = std::max(0, p - 25); q < std::min(n, p + 26) && !nearLine; ++q)
            nearLine = lamp[q] > 1.3 * median;
        if (!nearLine) away.push_back(p);
    }
    return away;
}

// Runs the tool in this process on a bus of simulated units the test holds.
class AcquireRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        kestrion::SetUsbBackend(bus);
        fs::create_directory("out");
    }
    void TearDown() override {
        deviceList.clear();
        kestrion::SetUsbBackend(std::make_shared<kestrion::SimulatedBus>());
    }

    std::shared_ptr<kestrion::SimulatedSpectrometer> AddUnit(int k) {
        return bus->Add(kestrion::DefaultSimulatedUnit(k));
    }

    // The exit code; what the run wrote lands in out and err.
    int Run(std::vector<std::string> args) {
        args.insert(args.begin(), "quenlix-acquire");
        std::vector<const char*> argv;
        for (const std::string& a : args) argv.push_back(a.c_str());
        AcquireOptions options;
        std::string error;
        if (!ParseAcquireOptions(static_cast<int>(argv.size()), argv.data(), options, error)) {
            ADD_FAILURE() << error;
            return -1;
        }
        char* outText = nullptr;
        char* errText = nullptr;
        std::size_t outSize = 0, errSize = 0;
        io.out = open_memstream(&outText, &outSize);
        io.err = open_memstream(&errText, &errSize);
        const int code = RunAcquire(options, io);
        std::fclose(io.out);
        std::fclose(io.err);
        out.assign(outText, outSize);
        err.assign(errText, errSize);
        std::free(outText);
        std::free(errText);
        EXPECT_TRUE(deviceList.empty()) << "every device is closed at the end";
        return code;
    }

    std::shared_ptr<kestrion::SimulatedBus> bus = std::make_shared<kestrion::SimulatedBus>();
    AcquireIo io;
    std::string out, err;
};

}  // namespace

TEST_F(AcquireRunTest, TwentySpectraAreWrittenAsTheProgramsTextFilesAndReadBack) {
    AddUnit(0);
    ASSERT_EQ(Run({"--integration-ms", "10", "--average", "2", "--smooth", "1", "--count", "20", "--out",
                   "out", "--prefix", "lamp_"}),
              kExitDone)
        << err;
    EXPECT_EQ(err, "") << "quiet when standard error is no terminal";
    const std::vector<fs::path> files = FilesIn("out");
    ASSERT_EQ(files.size(), 20u) << "no temporary files left behind";
    EXPECT_EQ(files.front().filename(), "lamp_00000.txt");
    EXPECT_EQ(files.back().filename(), "lamp_00019.txt");
    for (const fs::path& file : files) {
        SCOPED_TRACE(file);
        CDataFileLoad load;
        ASSERT_EQ(load.SetLoadingSingleDataFilePath(file.wstring()), 1);
        ASSERT_EQ(load.GetPixelCount(), kPoints);
        EXPECT_EQ(load.GetDeviceName(), L"Velmora");
        EXPECT_EQ(load.GetSerialNumber().find(L"SIM00000"), 4u);
        EXPECT_EQ(load.GetIntegralTimeMus(), 10000);
        EXPECT_EQ(load.GetAvgCount(), 2);
        EXPECT_EQ(load.GetSmoothness(), 1);
        const Spectrum s = Read(file);
        EXPECT_EQ(s.xType, 0);
        EXPECT_EQ(s.yType, 0);
        EXPECT_NEAR(s.x.front(), SimulatedWavelength(1), 0.001);
        EXPECT_NEAR(s.x.back(), SimulatedWavelength(3629), 0.001);
        EXPECT_TRUE(std::is_sorted(s.x.begin(), s.x.end()));
        EXPECT_GT(*std::max_element(s.y.begin(), s.y.end()), *std::min_element(s.y.begin(), s.y.end()) + 500)
            << "the lamp's lines stand over the dark level";
    }
}

// Every pixel of a simulated frame holds the frame's serial number: a
// spectrum of the tool averages three whole frames, none fed twice, as the
// live page's session does (a busy machine may skip frames, as the page does),
// and its X axis is the session's for the same settings.
TEST_F(AcquireRunTest, SpectraAreTheSessionsForTheSameSettings) {
    AddUnit(0)->StampFrameNumbers(true);
    ASSERT_EQ(Run({"--integration-ms", "4", "--average", "3", "--smooth", "5", "--x", "wavenumber", "--count",
                   "8", "--out", "out"}),
              kExitDone)
        << err;
    const std::vector<fs::path> files = FilesIn("out");
    ASSERT_EQ(files.size(), 8u);

    DiscoverDevices();
    struct : AcquisitionListener {
    } quiet;
    AcquisitionSession session(quiet);
    session.settings.integralTimeMS = 4;
    session.settings.xTypeCode = 4;
    session.Bind(deviceList.at(0));
    const ViewDevice& live = *session.Records().at(0);

    double previous = -1;  // the first spectrum holds frames 1, 2, 3 or later ones
    for (const fs::path& file : files) {
        SCOPED_TRACE(file);
        const Spectrum s = Read(file);
        ASSERT_EQ(static_cast<int>(s.x.size()), live.pointCount);
        EXPECT_EQ(s.xType, 4);
        for (std::size_t i = 0; i < s.x.size(); ++i) ASSERT_NEAR(s.x[i], live.xBuffer[i], 0.0005) << i;
        const auto [low, high] = std::minmax_element(s.y.begin(), s.y.end());
        ASSERT_EQ(*low, *high) << "parts of different frames in one spectrum";
        EXPECT_NEAR(3 * *low, std::round(3 * *low), 0.002) << "the mean of three whole stamps";
        EXPECT_GE(*low - previous, 3.0 - 0.002) << "a frame fed twice";
        previous = *low;
    }
}

// The lamp does not change, so its spectrum less a dark taken (or read from
// a file) of the same lamp is noise about zero; the read noise of the dark
// level would show as an offset if the dark were missing or misplaced.
TEST_F(AcquireRunTest, DarkTakenOrReadFromAFileLeavesTheLampBackgroundNearZero) {
    AddUnit(0);
    ASSERT_EQ(Run({"--integration-ms", "10", "--out", "out", "--prefix", "raw_"}), kExitDone) << err;
    const Spectrum raw = Read("out/raw_00000.txt");
    const std::vector<int> away = PointsAwayFromTheLines(raw.y);
    ASSERT_GT(away.size(), 1000u);
    EXPECT_GT(Mean(raw.y, away), 500.0) << "the dark level the subtraction removes";

    ASSERT_EQ(
        Run({"--integration-ms", "10", "--take-dark", "--count", "3", "--out", "out", "--prefix", "taken_"}),
        kExitDone)
        << err;
    ASSERT_EQ(Run({"--integration-ms", "10", "--dark", "out/raw_00000.txt", "--count", "3", "--out", "out",
                   "--prefix", "file_"}),
              kExitDone)
        << err;
    for (const char* name : {"out/taken_00000.txt", "out/taken_00002.txt", "out/file_00000.txt"}) {
        SCOPED_TRACE(name);
        const Spectrum s = Read(name);
        EXPECT_EQ(s.yType, 1);
        EXPECT_NEAR(Mean(s.y, away), 0.0, 3.0);
    }
    EXPECT_FALSE(fs::exists("out/taken_00003.txt")) << "the dark taken is not written";
}

// A reference of the same lamp over a dark of no counts: on the lamp's
// strong lines the "sample" lets everything through, absorbance 0. A
// reference read onto other pixels than the frames' would not cancel.
TEST_F(AcquireRunTest, AReferenceFromAFileGivesZeroAbsorbanceOnTheSameLamp) {
    AddUnit(0);
    ASSERT_EQ(Run({"--integration-ms", "50", "--average", "2", "--out", "out", "--prefix", "ref_"}),
              kExitDone)
        << err;
    const Spectrum reference = Read("out/ref_00000.txt");
    {
        CDataFileSave save;
        const std::vector<double> zero(kPoints, 0.0);
        save.SetPixelCount(kPoints);
        ASSERT_EQ(save.SaveSingleData(L"zero.txt", reference.x.data(), zero.data()), 1);
    }
    ASSERT_EQ(Run({"--integration-ms", "50", "--average", "2", "--dark", "zero.txt", "--y", "absorbance",
                   "--reference", "out/ref_00000.txt", "--out", "out", "--prefix", "a_"}),
              kExitDone)
        << err;
    const Spectrum absorbance = Read("out/a_00000.txt");
    EXPECT_EQ(absorbance.yType, 4);
    std::vector<double> sorted = reference.y;
    std::nth_element(sorted.begin(), sorted.begin() + kPoints / 2, sorted.end());
    const double median = sorted[kPoints / 2];
    int lines = 0;
    for (int p = 0; p < kPoints; ++p) {
        if (reference.y[p] < median + 1000) continue;
        ++lines;
        EXPECT_NEAR(absorbance.y[p], 0.0, 0.05) << p;
    }
    EXPECT_GT(lines, 10);
}

TEST_F(AcquireRunTest, EveryTriggerModeAndAnIntervalGiveTheirSpectra) {
    auto unit = AddUnit(0);
    unit->SetExternalTriggerRate(100);
    for (const char* mode : {"clock", "soft", "external"}) {
        SCOPED_TRACE(mode);
        const std::string prefix = std::string(mode) + "_";
        ASSERT_EQ(Run({"--integration-ms", "5", "--trigger", mode, "--count", "3", "--out", "out", "--prefix",
                       prefix}),
                  kExitDone)
            << err;
        EXPECT_TRUE(fs::exists("out/" + prefix + "00002.txt"));
    }
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(Run({"--integration-ms", "5", "--interval-ms", "150", "--count", "3", "--out", "out"}),
              kExitDone);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
}

TEST_F(AcquireRunTest, ListingNamesEachDeviceOnOneTabSeparatedLine) {
    AddUnit(0);
    AddUnit(1);
    ASSERT_EQ(Run({"--list"}), kExitDone);
    std::istringstream lines(out);
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, '\t');) fields.push_back(field);
        ASSERT_EQ(fields.size(), 6u) << line;
        EXPECT_EQ(fields[0], std::to_string(count));
        EXPECT_EQ(fields[1], "Velmora");
        EXPECT_NE(fields[2].find("SIM0000" + std::to_string(count)), std::string::npos);
        EXPECT_EQ(fields[3], "01_02");
        EXPECT_EQ(fields[4], "3630");
        EXPECT_EQ(fields[5], "200-1100 nm");
    }
    EXPECT_EQ(count, 2);
    EXPECT_EQ(err, "");

    bus = std::make_shared<kestrion::SimulatedBus>();
    kestrion::SetUsbBackend(bus);
    ASSERT_EQ(Run({"--list"}), kExitDone);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "quenlix-acquire: no spectrometer found\n");
}

// From 20 ms the lamp's strongest line is found a time that puts it at half
// full scale; the spectra are taken there and their files record that time.
// A lamp too bright for the shortest time ends there, and the spectra are
// still taken.
TEST_F(AcquireRunTest, AutomaticIntegrationTimeRunsBeforeTheSpectraAndTellsItsOutcome) {
    AddUnit(0);
    ASSERT_EQ(Run({"--integration-ms", "20", "--auto-integration=0.5", "--average", "2", "--out", "out"}),
              kExitDone)
        << err;
    double ms = 0, percent = 0;
    int frames = 0;
    ASSERT_EQ(std::sscanf(err.c_str(), "quenlix-acquire: auto integration: %lf ms, peak at %lf %% of full scale (%d",
                          &ms, &percent, &frames),
              3)
        << err;
    EXPECT_NEAR(percent, 50, 2.5);
    EXPECT_LE(frames, 6);
    const std::vector<fs::path> files = FilesIn("out");
    ASSERT_EQ(files.size(), 1u);
    CDataFileLoad load;
    ASSERT_EQ(load.SetLoadingSingleDataFilePath(files.front().wstring()), 1);
    EXPECT_EQ(load.GetIntegralTimeMus(), std::lround(ms * 1000));
    const Spectrum s = Read(files.front());
    EXPECT_NEAR(*std::max_element(s.y.begin() + 10, s.y.end() - 10) / 16500, 0.5, 0.05)
        << "the spectrum holds frames of the time found only";

    fs::remove_all("out");
    fs::create_directory("out");
    kestrion::SimulatedUnitSetup bright = kestrion::DefaultSimulatedUnit(1);
    bright.scene = kestrion::Scene::MercuryArgonLamp;
    bright.brightness = 100;
    bus->Add(bright);
    ASSERT_EQ(Run({"--device", "1", "--integration-ms", "8", "--auto-integration", "--out", "out"}), kExitDone)
        << err;
    // Its one spectrum is then told as saturated, as any other would be.
    EXPECT_EQ(err.substr(0, err.find('\n') + 1),
              "quenlix-acquire: auto integration: still saturated at the shortest time, 4.000 ms\n");
    EXPECT_NE(err.find("quenlix-acquire: 1 of 1 spectra had saturated pixels"), std::string::npos) << err;
    EXPECT_EQ(FilesIn("out").size(), 1u);
}

TEST_F(AcquireRunTest, WhatCannotBeDoneEndsWithItsCodeAndOneLine) {
    AddUnit(0);
    AddUnit(1);
    {
        CDataFileSave save;  // dark-subtracted values are no dark
        const std::vector<double> x(kPoints, 1.0), y(kPoints, 1.0);
        save.SetPixelCount(kPoints);
        save.SetDataType(0, 1);
        ASSERT_EQ(save.SaveSingleData(L"subtracted.txt", x.data(), y.data()), 1);
        save.SetPixelCount(10);
        save.SetDataType(0, 0);
        ASSERT_EQ(save.SaveSingleData(L"short.txt", x.data(), y.data()), 1);
        fs::create_directories("out/spectrum_00000.txt");  // in the way of the first file
        fs::create_directory("free");
    }
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* line;
    };
    const Case cases[] = {
        {{"--device", "2", "--out", "free"}, kExitNoSuchDevice, "no spectrometer numbered 2 (2 found)"},
        {{"--serial", "NOPE", "--out", "free"},
         kExitNoSuchDevice,
         "no spectrometer with serial number 'NOPE' (2 found)"},
        {{"--out", "nowhere"}, kExitOutputNotWritable, "--out: 'nowhere' is no folder"},
        {{"--out", "subtracted.txt"}, kExitOutputNotWritable, "--out: 'subtracted.txt' is no folder"},
        {{"--out", "out"}, kExitOutputNotWritable, "cannot write 'out/spectrum_00000.txt'"},
        {{"--dark", "missing.txt", "--out", "free"},
         kExitBadArguments,
         "--dark: 'missing.txt' is no spectrum file that can be read"},
        {{"--dark", "subtracted.txt", "--out", "free"},
         kExitBadArguments,
         "--dark: 'subtracted.txt' does not hold raw counts"},
        {{"--take-dark", "--y", "reflection", "--reference", "short.txt", "--out", "free"},
         kExitBadArguments,
         "--reference: 'short.txt' holds 10 values, the spectrometer gives 3629"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::vector<std::string> args = {"--integration-ms", "5"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(Run(args), c.code);
        EXPECT_EQ(err, std::string("quenlix-acquire: ") + c.line + "\n");
    }
    EXPECT_TRUE(FilesIn("free").empty());

    for (const char* ms : {"1", "20000"}) {
        EXPECT_EQ(Run({"--integration-ms", ms, "--out", "free"}), kExitBadArguments);
        EXPECT_EQ(err.rfind("quenlix-acquire: --integration-ms: the spectrometer ", 0), 0u) << err;
        EXPECT_NE(err.find(std::string("cannot run at ") + ms + " ms (nearest: "), std::string::npos) << err;
    }

    if (::geteuid() != 0) {  // root writes everywhere
        fs::create_directory("locked");
        fs::permissions("locked", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(Run({"--integration-ms", "5", "--out", "locked"}), kExitOutputNotWritable);
        EXPECT_EQ(err, "quenlix-acquire: --out: cannot write into 'locked'\n");
    }
}

TEST_F(AcquireRunTest, AnUnpluggedDeviceEndsTheRunWithCodeThreeAndWholeFiles) {
    auto unit = AddUnit(0);
    io.takeStopRequests = [&unit] {
        if (fs::exists("out/spectrum_00002.txt")) unit->Unplug();
        return 0;
    };
    EXPECT_EQ(Run({"--integration-ms", "4", "--count", "100000", "--out", "out"}), kExitDeviceFailed);
    EXPECT_EQ(err.rfind("quenlix-acquire: the spectrometer ", 0), 0u) << err;
    EXPECT_NE(err.find(" failed during acquisition ("), std::string::npos) << err;
    const std::vector<fs::path> files = FilesIn("out");
    EXPECT_GE(files.size(), 3u);
    for (const fs::path& file : files) EXPECT_EQ(Read(file).y.size(), static_cast<std::size_t>(kPoints));
}

// Ctrl-C: the first request lets the spectrum being taken finish and be
// written; a second one, while a long block is still averaging, ends at once.
TEST_F(AcquireRunTest, AStopRequestEndsAfterTheSpectrumBeingTaken) {
    AddUnit(0);
    io.takeStopRequests = [] { return fs::exists("out/spectrum_00004.txt") ? 1 : 0; };
    EXPECT_EQ(Run({"--integration-ms", "4", "--count", "100000", "--out", "out"}), kExitDone);
    const std::vector<fs::path> files = FilesIn("out");
    ASSERT_GE(files.size(), 5u);
    EXPECT_LE(files.size(), 6u);
    for (const fs::path& file : files) EXPECT_EQ(Read(file).y.size(), static_cast<std::size_t>(kPoints));
    EXPECT_EQ(err, "quenlix-acquire: stopped after " + std::to_string(files.size()) + " of 100000 spectra\n");

    int calls = 0;
    io.takeStopRequests = [&calls] { return ++calls == 5 || calls == 50 ? 1 : 0; };
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Run({"--integration-ms", "4", "--average", "100000", "--out", "out", "--prefix", "long_"}),
              kExitDone);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    EXPECT_FALSE(fs::exists("out/long_00000.txt"));
    EXPECT_EQ(err, "quenlix-acquire: stopped after 0 of 1 spectra\n");
}

TEST_F(AcquireRunTest, CsvAndJcampDxFilesAndCsvOnStandardOutput) {
    AddUnit(1);  // ruby, for the Raman shift axis
    ASSERT_EQ(Run({"--integration-ms", "5", "--count", "2", "--format", "csv", "--out", "out"}), kExitDone)
        << err;
    ASSERT_EQ(Run({"--integration-ms", "5", "--count", "2", "--format", "jcamp", "--out", "out"}), kExitDone)
        << err;
    const std::vector<fs::path> files = FilesIn("out");
    ASSERT_EQ(files.size(), 4u);
    EXPECT_EQ(files[0].filename(), "spectrum_00000.csv");
    EXPECT_EQ(files[3].filename(), "spectrum_00001.jdx");
    std::ifstream jcamp(files[3]);
    std::string first;
    std::getline(jcamp, first);
    EXPECT_EQ(first.rfind("##TITLE=", 0), 0u) << first;

    ASSERT_EQ(
        Run({"--integration-ms", "5", "--count", "2", "--x", "raman", "--excitation", "532", "--out", "-"}),
        kExitDone)
        << err;
    EXPECT_EQ(err, "");
    std::istringstream lines(out);
    int headers = 0, points = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("# ", 0) == 0) {
            ++headers;
            continue;
        }
        double x = 0, y = 0;
        char comma = 0;
        std::istringstream pair(line);
        ASSERT_TRUE(pair >> x >> comma >> y && comma == ',' && pair.peek() == EOF) << line;
        ++points;
    }
    EXPECT_EQ(points, 2 * kPoints);
    EXPECT_GT(headers, 10);
}

// At 270 ms the lamp's strongest lines clip: standard error says so once
// when it starts and sums it up at the end, and every file carries its
// spectrum's count, as text, CSV and JCAMP-DX each carry metadata.
TEST_F(AcquireRunTest, SaturatedPixelsAreToldOnceAndCarriedByEveryFile) {
    AddUnit(0);
    ASSERT_EQ(Run({"--integration-ms", "270", "--count", "3", "--out", "out"}), kExitDone) << err;
    std::vector<int> counts;
    for (const fs::path& file : FilesIn("out")) {
        std::ifstream in(file, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        const std::string mark = "+++++End Spectral Data+++++\r\n# saturated pixels: ";
        const size_t at = text.rfind(mark);
        ASSERT_NE(at, std::string::npos) << file;
        counts.push_back(std::stoi(text.substr(at + mark.size())));
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
        EXPECT_EQ(Read(file).x.size(), static_cast<size_t>(kPoints)) << "read as any other file";
    }
    ASSERT_EQ(counts.size(), 3u);
    EXPECT_GE(counts[0], 6) << "three lines clip over a few pixels each";
    EXPECT_EQ(err, "quenlix-acquire: spectrum 0: " + std::to_string(counts[0]) +
                       " pixels saturated (at 16500 counts)\n"
                       "quenlix-acquire: 3 of 3 spectra had saturated pixels, at most " +
                       std::to_string(*std::max_element(counts.begin(), counts.end())) + "\n");

    fs::remove_all("out");
    fs::create_directory("out");
    ASSERT_EQ(Run({"--integration-ms", "270", "--count", "1", "--format", "csv", "--out", "out"}), kExitDone);
    ASSERT_EQ(Run({"--integration-ms", "270", "--count", "1", "--format", "jcamp", "--out", "out"}), kExitDone);
    std::ifstream csv("out/spectrum_00000.csv"), jcamp("out/spectrum_00000.jdx");
    const std::string csvText{std::istreambuf_iterator<char>(csv), {}};
    const std::string jcampText{std::istreambuf_iterator<char>(jcamp), {}};
    EXPECT_NE(csvText.find("\n# saturated pixels: "), std::string::npos);
    EXPECT_NE(jcampText.find("\r\n##$QUENLIX SATURATED PIXELS="), std::string::npos);
}

// The exports' date names one moment wherever it is read: local time with
// its offset, minutes included, west of UTC too.
TEST(IsoLocalTime, CarriesTheOffsetWithItsSignAndMinutes) {
    const char* saved = std::getenv("TZ");
    const std::string before = saved ? saved : "";
    for (const auto& [zone, offset] :
         {std::pair{"<+0530>-5:30", "+05:30"}, std::pair{"<-0330>3:30", "-03:30"}}) {
        ::setenv("TZ", zone, 1);
        ::tzset();
        const std::string now = IsoLocalTimeNow();
        ASSERT_EQ(now.size(), 25u) << now;
        EXPECT_EQ(now.substr(19), offset) << now;
        EXPECT_EQ(now[10], 'T') << now;
    }
    saved ? ::setenv("TZ", before.c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
}
