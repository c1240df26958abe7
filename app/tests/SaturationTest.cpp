#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "AcquisitionSession.h"
#include "DataFileLoad.h"
#include "LivePageFixture.h"
#include "SaturationMarks.h"
#include "SaturationTexts.h"
#include "SpectrumDisplayDlg.h"
#include "ToolbarCommands.h"
#include "simulator/SpectrumScene.h"

using namespace quenlix;
using namespace quenlix::testing;

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::pair<int, int>> Pairs(const SaturationMarks& marks) {
    std::vector<std::pair<int, int>> pairs;
    for (const PixelStretch& s : marks.Stretches()) pairs.emplace_back(s.first, s.last);
    return pairs;
}

std::set<int> PixelsOf(const SaturationMarks& marks) {
    std::set<int> pixels;
    for (const PixelStretch& s : marks.Stretches())
        for (int i = s.first; i <= s.last; ++i) pixels.insert(i);
    return pixels;
}

// Keeps the newest frame's marks and, per spectrum, the union of the
// saturated pixels of the frames summed into it beside the spectrum's. With
// superposition a spectrum completes every `superposition` blocks, and the
// blocks between leave its marks as they were.
class SaturationRecorder : public AcquisitionListener {
public:
    int superposition = 1;
    int frames = 0;
    std::vector<double> window;  // the newest frame's display window
    SaturationMarks newest;
    std::set<int> spectrumUnion;
    std::set<int> lastSpectrum;
    int blocks = 0;
    int spectraUnlikeTheirLastFrame = 0;
    int spectraDifferingFromTheirFrames = 0;
    int marksChangedMidSuperposition = 0;

    void FrameTaken(const ViewDevice& device) override {
        ++frames;
        window.assign(device.frame.begin() + device.firstPixel,
                      device.frame.begin() + device.firstPixel + device.pointCount);
        newest = device.frameSaturation;
        const std::set<int> pixels = PixelsOf(device.frameSaturation);
        spectrumUnion.insert(pixels.begin(), pixels.end());
    }
    void SpectrumReady(const ViewDevice& device) override {
        const std::set<int> marked = PixelsOf(device.spectrumSaturation);
        if (++blocks % superposition != 0) {
            if (marked != lastSpectrum) ++marksChangedMidSuperposition;
            return;
        }
        if (marked != spectrumUnion) ++spectraDifferingFromTheirFrames;
        if (marked != PixelsOf(newest)) ++spectraUnlikeTheirLastFrame;
        spectrumUnion.clear();
        lastSpectrum = marked;
    }
};

template <typename Condition>
bool StepUntil(AcquisitionSession& session, Condition done,
               std::chrono::seconds limit = std::chrono::seconds(30)) {
    const auto end = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() > end) return false;
        session.Step();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

using SaturationSession = SimulatedDevicesTest;

}  // namespace

// Runs of pixels at or above full scale, at the window's ends too; a count
// past the window is cut to it; a new search forgets the last.
TEST(SaturationMarks, FindsTheRunsAtOrAboveFullScale) {
    SaturationMarks marks;
    marks.Reserve(10);
    const double counts[12] = {100, 100, 50, 99.999, 100, 7, 100, 101, 0, 100, 100, 100};
    marks.Find(counts, 12, 100);
    EXPECT_EQ(Pairs(marks), (std::vector<std::pair<int, int>>{{0, 1}, {4, 4}, {6, 7}, {9, 9}}));
    EXPECT_EQ(marks.PixelCount(), 6);
    marks.Find(counts + 2, 2, 100);
    EXPECT_EQ(marks.PixelCount(), 0);
    EXPECT_TRUE(marks.Stretches().empty());
    const double every[10] = {5, 5, 5, 5, 5, 5, 5, 5, 5, 5};
    marks.Find(every, 10, 5);
    EXPECT_EQ(Pairs(marks), (std::vector<std::pair<int, int>>{{0, 9}}));
    const double alternate[10] = {9, 0, 9, 0, 9, 0, 9, 0, 9, 0};
    const auto capacity = marks.Stretches().capacity();
    marks.Find(alternate, 10, 9);
    EXPECT_EQ(marks.Stretches().size(), 5u);
    EXPECT_EQ(marks.Stretches().capacity(), capacity)
        << "the most runs a window holds fit without allocating";
    marks.Find(nullptr, 10, 9);
    EXPECT_EQ(marks.PixelCount(), 0);
}

// At 270 ms the lamp's lines at 435.8, 546.1 and 763.5 nm clip, the others
// stay well below: each clipped line gives one stretch, as wide as its
// Gaussian (sigma 0.6 nm) stands above full scale, and nothing else is marked.
TEST_F(SaturationSession, ALampAtALongTimeIsMarkedExactlyWhereItsLinesClip) {
    AddUnit(0);
    DiscoverDevices();
    SaturationRecorder recorder;
    AcquisitionSession session(recorder);
    constexpr double kMs = 270;
    session.settings.integralTimeMS = kMs;
    session.Bind(deviceList.at(0));
    ASSERT_EQ(session.Records().size(), 1u);
    const ViewDevice& device = *session.Records().front();
    ASSERT_EQ(device.fullScale, 16500);
    // The frames after the first are exposed wholly with the long time.
    ASSERT_TRUE(StepUntil(session, [&] { return recorder.frames >= 3; }));

    const std::vector<double>& x = device.xBuffer;
    const double base = Median(recorder.window);  // dark level and faint continuum
    const double pixelNm = (x.back() - x.front()) / (device.pointCount - 1);
    std::vector<PixelStretch> unmatched = recorder.newest.Stretches();
    int clippedLines = 0;
    for (const kestrion::SceneLine& line : kestrion::SceneLines(kestrion::Scene::MercuryArgonLamp)) {
        SCOPED_TRACE(line.wavelengthNm);
        const double top = base + line.peak * kMs;
        const auto near = [&](const PixelStretch& s) {
            return x[s.first] - 1.0 <= line.wavelengthNm && line.wavelengthNm <= x[s.last] + 1.0;
        };
        const auto found = std::find_if(unmatched.begin(), unmatched.end(), near);
        if (top < 16500 - 1000) {
            EXPECT_EQ(found, unmatched.end()) << "a line well below full scale";
            continue;
        }
        ASSERT_GT(top, 16500 + 1000) << "no line of the scene lies near full scale at this time";
        ++clippedLines;
        ASSERT_NE(found, unmatched.end()) << "a clipped line unmarked";
        const double halfWidth = 0.6 * std::sqrt(2 * std::log(line.peak * kMs / (16500 - base)));
        EXPECT_NEAR(x[found->first], line.wavelengthNm - halfWidth, 1.5 * pixelNm);
        EXPECT_NEAR(x[found->last], line.wavelengthNm + halfWidth, 1.5 * pixelNm);
        unmatched.erase(found);
    }
    EXPECT_EQ(clippedLines, 3);
    EXPECT_TRUE(unmatched.empty()) << "marks where no line clips";
    int pixels = 0;
    for (const PixelStretch& s : recorder.newest.Stretches()) pixels += s.last - s.first + 1;
    EXPECT_EQ(recorder.newest.PixelCount(), pixels);
}

// At 144 ms the top of the 546 nm line sits at full scale and clips in some
// frames only: a spectrum is marked wherever any frame summed into it clipped,
// as the mean there is low however few frames clipped. That is every frame of
// its averaging block, and of every block a superposed spectrum adds up.
TEST_F(SaturationSession, ASpectrumIsMarkedWhereAnyFrameSummedIntoItClipped) {
    AddUnit(0);
    DiscoverDevices();
    for (const auto& [average, superposition] : {std::pair{3, 1}, std::pair{1, 3}}) {
        SCOPED_TRACE(::testing::Message() << "average " << average << ", superposition " << superposition);
        SaturationRecorder recorder;
        recorder.superposition = superposition;
        AcquisitionSession session(recorder);
        session.settings.integralTimeMS = 144;
        session.settings.avgCount = average;
        session.Bind(deviceList.at(0));
        ASSERT_EQ(session.Records().size(), 1u);
        session.Records().front()->preprocessor->SetSuperpositionCount(superposition);
        ASSERT_TRUE(StepUntil(
            session, [&] { return recorder.blocks >= 3 * superposition + 3; }, std::chrono::seconds(60)));
        EXPECT_EQ(recorder.spectraDifferingFromTheirFrames, 0);
        EXPECT_EQ(recorder.marksChangedMidSuperposition, 0);
        RecordProperty("spectra marked beyond their last frame, superposition " + std::to_string(superposition),
                       recorder.spectraUnlikeTheirLastFrame);
    }
}

namespace {

class SaturationOnTheLivePage : public LivePageTest {
protected:
    void SetTime(double ms) { ASSERT_EQ(page->ApplyParameter(0, reinterpret_cast<LPARAM>(&ms)), 1); }
    const ViewDevice& Active() const { return *page->DeviceRecords().front(); }
    QLabel* Strip() const { return page->InfoPanel()->SaturatedText(); }
};

}  // namespace

// The strip tells the active device's saturated pixels in red, in the
// current language, and nothing once none are; a spectrum saved meanwhile
// carries its count after the end line and reads back as any other.
TEST_F(SaturationOnTheLivePage, TheStripTellsTheActiveDevicesSaturatedPixelsAndASaveRecordsThem) {
    Open(1);
    EXPECT_FALSE(Strip()->isVisible()) << "nothing at the default time";
    SetTime(270);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Strip()->isVisible(); }, 30000));
    RunEventLoop(20);
    const int pixels = Active().frameSaturation.PixelCount();
    ASSERT_GT(pixels, 0);
    EXPECT_EQ(Strip()->text(), QStringLiteral("Saturated: %1 px").arg(pixels));
    EXPECT_EQ(Strip()->palette().color(Strip()->foregroundRole()), QColor(Qt::red));
    languageIndex = 1;
    page->ApplyLanguage(1);
    EXPECT_EQ(Strip()->text(), QStringLiteral("飽和：%1 像素").arg(pixels));
    languageIndex = 2;
    page->ApplyLanguage(2);

    ASSERT_TRUE(WaitForSpectra(2, 30000));
    SendMessage(page.get(), WM_TOOLBAR_COMMAND, ID_BTN_DEV_STOP, 0);
    RunEventLoop(50);
    const int spectrumPixels = Active().spectrumSaturation.PixelCount();
    ASSERT_GT(spectrumPixels, 0);
    prompts.saveName = "clipped.txt";
    Command(ID_BTN_SAVE_SPECTRUM);
    std::ifstream file("clipped.txt", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    const std::string end =
        "+++++End Spectral Data+++++\r\n# saturated pixels: " + std::to_string(spectrumPixels) + "\r\n";
    ASSERT_GE(bytes.size(), end.size());
    EXPECT_EQ(bytes.substr(bytes.size() - end.size()), end);
    CDataFileLoad reader;
    ASSERT_EQ(reader.SetLoadingSingleDataFilePath(L"clipped.txt"), 1);
    std::vector<double> x(reader.GetPixelCount()), y(reader.GetPixelCount());
    ASSERT_EQ(reader.LoadSingleData(x.data(), y.data()), 1);
    EXPECT_EQ(x.size(), static_cast<std::size_t>(Active().pointCount));

    SendMessage(page.get(), WM_TOOLBAR_COMMAND, ID_BTN_DEV_RUN, 0);
    SetTime(10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Strip()->isVisible(); }, 30000));
}
