#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "AppTestSupport.h"
#include "SeriesRecorder.h"

using namespace quenlix;
using namespace quenlix::testing;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// A recorder timed by a clock the test moves, saving a four-pixel device
// whose new spectra the test makes.
class SeriesRecorderTest : public SimulatedDevicesTest {
protected:
    void SetUp() override {
        SimulatedDevicesTest::SetUp();
        AddUnit(0);
        DiscoverDevices();
        device.number = 0;
        device.serialNumber = deviceList.at(0).serialNumber;
        device.link = deviceList.at(0).link.get();
        device.preprocessor = std::make_unique<CCondira>(4);
        device.pointCount = 4;
        device.xBuffer = {500, 501, 502, 503};
        device.yBuffer = {10, 20, 30, 40};
        fs::create_directory("runs");
        settings.folder = L"runs";
        settings.prefix = L"s";
        settings.fillCount = 3;
    }
    void NewSpectrum() {
        const double frame[4] = {1, 2, 3, 4};
        device.preprocessor->AddNewSpectrumData(frame);
    }
    // Moves the clock on and runs one tick; whether the tick saved a file.
    bool Tick(std::chrono::milliseconds late) {
        now += late;
        const int before = recorder.Saved();
        lastOutcome = recorder.Step(device);
        return recorder.Saved() > before;
    }
    static int Files() {
        return static_cast<int>(std::distance(fs::directory_iterator("runs"), fs::directory_iterator()));
    }

    std::chrono::steady_clock::time_point now{};
    SeriesRecorder recorder{[this] { return now; }};
    ViewDevice device;
    SeriesSettings settings;
    SeriesRecorder::Outcome lastOutcome = SeriesRecorder::Outcome::Running;
};

TEST_F(SeriesRecorderTest, TheTimedModeFollowsTheClockHoweverLateTheTicksCome) {
    settings.saveMode = 2;
    settings.intervalTimeMs = 1000;
    ASSERT_TRUE(recorder.Start(settings, device, 250));
    std::vector<int> savedAt;
    for (int tick = 1; tick <= 100; ++tick)
        if (Tick(100ms)) savedAt.push_back(tick);
    EXPECT_EQ(savedAt, (std::vector<int>{1, 11, 21, 31, 41, 51, 61, 71, 81, 91}));

    // Ticks three times late: still one save per second of clock, not per ten ticks.
    ASSERT_TRUE(recorder.Start(settings, device, 250));
    int saves = 0;
    for (int tick = 0; tick < 10; ++tick) saves += Tick(300ms);
    EXPECT_EQ(saves, 3);

    // The length of a series is clock time too.
    settings.stopMode = 2;
    settings.saveLengthMs = 2000;
    ASSERT_TRUE(recorder.Start(settings, device, 250));
    for (int tick = 0; tick < 3; ++tick) {
        Tick(500ms);
        EXPECT_EQ(lastOutcome, SeriesRecorder::Outcome::Running);
    }
    Tick(500ms);
    EXPECT_EQ(lastOutcome, SeriesRecorder::Outcome::Finished);
    EXPECT_FALSE(recorder.On());
}

TEST_F(SeriesRecorderTest, CountingModesSaveAtOnceAndModeZeroWaitsForANewSpectrum) {
    settings.saveMode = 0;
    ASSERT_TRUE(recorder.Start(settings, device, 250));
    EXPECT_FALSE(Tick(10ms)) << "no spectrum since the start";
    NewSpectrum();
    EXPECT_TRUE(Tick(10ms));
    EXPECT_FALSE(Tick(10ms)) << "the same spectrum once only";

    settings.saveMode = 1;
    settings.intervalCount = 3;
    ASSERT_TRUE(recorder.Start(settings, device, 250));
    std::vector<int> savedAt;
    for (int tick = 1; tick <= 8; ++tick) {
        if (Tick(10ms)) savedAt.push_back(tick);
        NewSpectrum();
    }
    EXPECT_EQ(savedAt, (std::vector<int>{1, 4, 7}));
}

TEST_F(SeriesRecorderTest, StopsAfterTheCountAndAFailedWriteEndsItNamingTheFile) {
    settings.stopMode = 1;
    settings.saveCount = 5;
    ASSERT_TRUE(recorder.Start(settings, device, 250));
    for (int spectrum = 1; spectrum <= 5; ++spectrum) {
        NewSpectrum();
        Tick(10ms);
    }
    EXPECT_EQ(lastOutcome, SeriesRecorder::Outcome::Finished);
    EXPECT_EQ(Files(), 5);
    EXPECT_TRUE(fs::is_regular_file("runs/s004.txt"));

    settings.stopMode = 0;
    settings.folder = L"more";
    fs::create_directory("more");
    ASSERT_TRUE(recorder.Start(settings, device, 250));
    NewSpectrum();
    Tick(10ms);
    fs::create_directory("more/s001.txt");  // the next name is taken by a folder
    NewSpectrum();
    Tick(10ms);
    EXPECT_EQ(lastOutcome, SeriesRecorder::Outcome::Failed);
    EXPECT_FALSE(recorder.On());
    EXPECT_EQ(recorder.Saved(), 1);
    EXPECT_EQ(recorder.FailedFile(), L"more/s001.txt");
    EXPECT_TRUE(fs::is_regular_file("more/s000.txt"));

    settings.folder = L"gone";
    EXPECT_FALSE(recorder.Start(settings, device, 250));
    EXPECT_FALSE(recorder.On());
}

}  // namespace

// Each file of a series carries the saturation of its own spectrum.
TEST_F(SeriesRecorderTest, EachFileCarriesItsOwnSpectrumsSaturation) {
    ASSERT_TRUE(recorder.Start(settings, device, 250));
    const double clipped[4] = {16500, 16500, 3, 4};
    device.spectrumSaturation.Reserve(4);
    device.spectrumSaturation.Find(clipped, 4, 16500);
    NewSpectrum();
    ASSERT_TRUE(Tick(10ms));
    device.spectrumSaturation.Clear();
    NewSpectrum();
    ASSERT_TRUE(Tick(10ms));
    const auto ending = [](const char* path) {
        std::ifstream file(path, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), {}};
        return bytes.substr(bytes.rfind("+++++"));
    };
    EXPECT_EQ(ending("runs/s000.txt"), "+++++\r\n# saturated pixels: 2\r\n");
    EXPECT_EQ(ending("runs/s001.txt"), "+++++\r\n");
}
