#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "DataFileSave.h"
#include "Lexora.h"
#include "LivePageFixture.h"
#include "MessagePayloads.h"
#include "OpenContinuousSettingDlg.h"
#include "OpenContinuousSpectrumDlg.h"
#include "ReplayTexts.h"
#include "SpectrumFolder.h"
#include "ToolbarCommands.h"
#include "UiText.h"

using namespace quenlix;
using namespace quenlix::testing;
namespace fs = std::filesystem;

namespace {

// The replay page, noting the file on the chart after every file the
// playback took (shown or skipped) and when playback ended.
class ReplayPage : public COpenContinuousSpectrumDlg {
public:
    using COpenContinuousSpectrumDlg::COpenContinuousSpectrumDlg;
    std::vector<std::string> onChart;

protected:
    void OnTimer(int id) override {
        const bool wasPlaying = !PlaybackIdle();
        const int position = Replay().Position();
        COpenContinuousSpectrumDlg::OnTimer(id);
        if (wasPlaying && (PlaybackIdle() || Replay().Position() != position))
            onChart.push_back(fs::path(ActiveFileName()).filename().string());
    }
};

// A spectrum of `pixels` points with X evenly from xFirst to xLast and Y
// rising from yLow to yHigh.
void WriteSpectrum(const fs::path& path, double xFirst, double xLast, double yLow = 10, double yHigh = 3000,
                   int pixels = 64, int saturatedPixels = 0) {
    CDataFileSave writer;
    writer.SetSaturatedPixels(saturatedPixels);
    writer.SetUsingLanguage(2);
    writer.SetPixelCount(pixels);
    std::vector<double> x(pixels), y(pixels);
    for (int i = 0; i < pixels; ++i) {
        x[i] = xFirst + (xLast - xFirst) * i / (pixels - 1);
        y[i] = yLow + (yHigh - yLow) * i / (pixels - 1);
    }
    ASSERT_EQ(writer.SaveSingleData(path.wstring(), x.data(), y.data()), 1) << path;
}

void Type(QLineEdit* box, const QString& text) {
    box->setText(text);
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(box, &out);
}

class Replay : public SimulatedDevicesTest {
protected:
    void SetUp() override {
        SimulatedDevicesTest::SetUp();
        InstallPrompts(&prompts);
        fs::create_directory("series");
        prompts.folderName = QString::fromStdString(fs::absolute("series").string());
        // The settings dialog: 20 ms, the folder chosen, OK.
        prompts.modal = [](QDialog& dialog) {
            auto& settings = dynamic_cast<COpenContinuousSettingDlg&>(dialog);
            Type(settings.IntervalBox(), QStringLiteral("20"));
            settings.ChooseDirButton()->click();
            settings.OkButton()->click();
            return settings.result();
        };
        page.resize(900, 600);
        page.show();
    }
    void TearDown() override {
        InstallPrompts(nullptr);
        SimulatedDevicesTest::TearDown();
    }
    LRESULT Command(int command) { return SendMessage(&page, WM_TOOLBAR_COMMAND, command, 0); }
    // Opens the folder and pauses before the first file.
    void OpenPaused() {
        Command(ID_BTN_OPEN_CONTINUOUS);
        ASSERT_FALSE(page.PlaybackIdle());
        Command(ID_BTN_DEV_STOP);
    }
    bool WaitUntilIdle() {
        return QTest::qWaitFor([this] { return page.PlaybackIdle(); }, 5000);
    }

    RecordingPrompts prompts;
    ReplayPage page;
};

}  // namespace

TEST(SpectrumFolder, ListsRegularTxtFilesWithSerialNumbersInNumericOrder) {
    fs::create_directory("f");
    for (const char* name : {"data100.txt", "data10.txt", "data9.txt", "data099.txt", "Data2.TXT",
                             "notes.csv", "b.txt", "a10b2.txt", "a10b10.txt"})
        std::ofstream(fs::path("f") / name) << "x";
    fs::create_directory("f/folder.txt");
    fs::create_symlink("missing", "f/dangling.txt");
    std::vector<std::string> names;
    for (const std::string& path : ListSpectrumFiles("f"))
        names.push_back(fs::path(path).filename().string());
    EXPECT_EQ(names, (std::vector<std::string>{"Data2.TXT", "a10b2.txt", "a10b10.txt", "b.txt", "data9.txt",
                                               "data10.txt", "data099.txt", "data100.txt"}));
    EXPECT_TRUE(ListSpectrumFiles("no such folder").empty());
    EXPECT_TRUE(NumberAwareLess("data07.txt", "data7.txt") != NumberAwareLess("data7.txt", "data07.txt"))
        << "names equal as numbers still have one order";
}

// Serial numbers that outgrew their fill count still play in the order of saving.
TEST_F(Replay, ThreeFilesPlayInOrderOneAnIntervalAndTheLastStays) {
    double xMin, xMax, yMin, yMax;
    page.Chart().GetXRegion(xMin, xMax);
    page.Chart().GetYRegion(yMin, yMax);
    EXPECT_EQ((std::vector<double>{xMin, xMax, yMin, yMax}), (std::vector<double>{200, 1100, 0, 16500}));
    EXPECT_TRUE(page.DeviceRecords().empty()) << "the page binds no device";
    EXPECT_NE(page.Toolbar()->Button(ID_BTN_END_OPENING), nullptr);

    for (const char* name : {"data100.txt", "data9.txt", "data10.txt"})
        WriteSpectrum(fs::path("series") / name, 300, 900);
    QElapsedTimer clock;
    clock.start();
    Command(ID_BTN_OPEN_CONTINUOUS);
    EXPECT_EQ(page.IntervalMs(), 20);
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_GE(clock.elapsed(), 3 * 20 - 5) << "one file an interval, not all at once";
    EXPECT_EQ(page.onChart, (std::vector<std::string>{"data9.txt", "data10.txt", "data100.txt"}));
    EXPECT_EQ(page.Chart().GetFileLineCount(), 1);
    EXPECT_EQ(page.Chart().GetActiveLinePixelCount(-1, page.ActiveFileName()), 64);
    EXPECT_FALSE(page.HasTimer(COpenContinuousSpectrumDlg::kPlaybackTimer));
    EXPECT_EQ(page.PlaybackStatus()->text(), OwnText(replayText_Ended).arg(3).arg(0));
    EXPECT_TRUE(prompts.texts.empty());

    // Resuming after the end does nothing.
    Command(ID_BTN_DEV_RUN);
    RunEventLoop(60);
    EXPECT_EQ(page.onChart.size(), 3u);
}

TEST_F(Replay, ScanOnceWhilePausedShowsExactlyOneMoreFile) {
    for (int i = 1; i <= 4; ++i)
        WriteSpectrum(fs::path("series") / ("s" + std::to_string(i) + ".txt"), 300, 900);
    OpenPaused();
    RunEventLoop(80);
    EXPECT_TRUE(page.onChart.empty()) << "paused before the first file";
    for (const char* expected : {"s1.txt", "s2.txt"}) {
        Command(ID_BTN_DEV_RUN_ONCE);
        ASSERT_TRUE(QTest::qWaitFor(
            [this, expected] { return !page.onChart.empty() && page.onChart.back() == expected; }, 5000));
        RunEventLoop(80);
        EXPECT_EQ(page.onChart.back(), expected);
        EXPECT_FALSE(page.HasTimer(COpenContinuousSpectrumDlg::kPlaybackTimer)) << "back to paused";
        EXPECT_FALSE(page.PlaybackIdle());
    }
    EXPECT_EQ(page.onChart.size(), 2u);
    Command(ID_BTN_END_OPENING);
    EXPECT_TRUE(page.PlaybackIdle());
    EXPECT_EQ(page.PlaybackStatus()->text(), OwnText(replayText_Ended).arg(2).arg(0));
    Command(ID_BTN_DEV_RUN_ONCE);
    RunEventLoop(60);
    EXPECT_EQ(page.onChart.size(), 2u) << "nothing to step after the end";
}

TEST_F(Replay, FittingUsesTheRangesOfTheLastFile) {
    Command(ID_BTN_FIT_WINDOW);
    Command(ID_BTN_FIT_IMAGE);
    double xMin, xMax, yMin, yMax;
    page.Chart().GetXRegion(xMin, xMax);
    EXPECT_EQ(xMin, 200) << "nothing to fit before a file was shown";

    WriteSpectrum("series/a.txt", 180, 1050, -40, 3000);
    Command(ID_BTN_OPEN_CONTINUOUS);
    ASSERT_TRUE(WaitUntilIdle());
    const auto region = [&] {
        page.Chart().GetXRegion(xMin, xMax);
        page.Chart().GetYRegion(yMin, yMax);
        return std::vector<double>{xMin, xMax, yMin, yMax};
    };
    Command(ID_BTN_FIT_WINDOW);
    EXPECT_EQ(region(), (std::vector<double>{180, 1050, 0, 16500}));
    Command(ID_BTN_FIT_IMAGE);
    EXPECT_EQ(region(), (std::vector<double>{180, 1050, -40, 3000}));
    SendWithLParam<WM_SET_AXIS_REGION>(&page, 0, std::array<double, 4>{400, 500, 0, 1});
    Command(ID_BTN_FIT_VERTICAL);
    EXPECT_EQ(region(), (std::vector<double>{400, 500, -40, 3000}));
    EXPECT_EQ(SendMessage(&page, WM_SET_AXIS_UNIT, 0, 2), 0) << "the file's own X unit stays";
    EXPECT_EQ(region(), (std::vector<double>{400, 500, -40, 3000}));
}

TEST_F(Replay, FilesThatAreNoSpectraAreSkippedAndCounted) {
    WriteSpectrum("series/p1.txt", 300, 900);
    std::ofstream("series/p2.txt") << "not a spectrum\r\n";
    WriteSpectrum("series/p3.txt", 300, 900);
    {
        // A header whose pixel count is 0.
        std::ifstream in("series/p1.txt", std::ios::binary);
        std::string text{std::istreambuf_iterator<char>(in), {}};
        text.replace(text.find("Pixel Count:64"), 14, "Pixel Count:0");
        std::ofstream("series/p4.txt", std::ios::binary) << text;
    }
    Command(ID_BTN_OPEN_CONTINUOUS);
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_EQ(page.onChart, (std::vector<std::string>{"p1.txt", "p1.txt", "p3.txt", "p3.txt"}))
        << "a skipped file leaves the spectrum before it on the chart";
    EXPECT_EQ(page.PlaybackStatus()->text(), OwnText(replayText_Ended).arg(2).arg(2));
    languageIndex = 0;
    page.ApplyLanguage(0);
    EXPECT_EQ(page.PlaybackStatus()->text(), OwnText(replayText_Ended).arg(2).arg(2))
        << "in the new language";
    EXPECT_TRUE(page.PlaybackStatus()->text().contains(QStringLiteral("跳过")));
}

// Files of saturated spectra carry a line after the end line: playback
// shows them as any other, with the values of their data lines.
TEST_F(Replay, SaturatedSpectraPlayAsAnyOther) {
    WriteSpectrum("series/s1.txt", 300, 900, 10, 16500, 64, 3);
    WriteSpectrum("series/s2.txt", 300, 900);
    WriteSpectrum("series/s3.txt", 400, 800, 20, 16500, 64, 12);
    Command(ID_BTN_OPEN_CONTINUOUS);
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_EQ(page.onChart, (std::vector<std::string>{"s1.txt", "s2.txt", "s3.txt"}));
    EXPECT_EQ(page.PlaybackStatus()->text(), OwnText(replayText_Ended).arg(3).arg(0));
    std::vector<double> x(64), y(64);
    ASSERT_EQ(page.Chart().GetActiveLineSpectrumData(-1, page.ActiveFileName(), x.data(), y.data()), 64);
    EXPECT_EQ(x.front(), 400);
    EXPECT_EQ(x.back(), 800);
    EXPECT_EQ(y.front(), 20);
    EXPECT_EQ(y.back(), 16500);
}

TEST_F(Replay, AFolderRemovedOrEmptiedDuringPlaybackEndsIt) {
    for (const bool removeFolder : {true, false}) {
        SCOPED_TRACE(removeFolder ? "folder removed" : "folder emptied");
        fs::create_directory("series");
        for (int i = 1; i <= 5; ++i)
            WriteSpectrum(fs::path("series") / ("r" + std::to_string(i) + ".txt"), 300, 900);
        page.onChart.clear();
        OpenPaused();
        Command(ID_BTN_DEV_RUN_ONCE);
        ASSERT_TRUE(QTest::qWaitFor([this] { return page.onChart.size() == 1; }, 5000));
        if (removeFolder) {
            fs::remove_all("series");
        } else {
            for (int i = 2; i <= 5; ++i) fs::remove(fs::path("series") / ("r" + std::to_string(i) + ".txt"));
        }
        Command(ID_BTN_DEV_RUN);
        ASSERT_TRUE(WaitUntilIdle());
        EXPECT_EQ(page.onChart.back(), "r1.txt") << "the last file shown stays";
        EXPECT_FALSE(page.HasTimer(COpenContinuousSpectrumDlg::kPlaybackTimer));
        EXPECT_EQ(page.PlaybackStatus()->text(),
                  OwnText(replayText_Gone).arg(prompts.folderName + "/").arg(1).arg(0));
        fs::remove_all("series");
    }
}

TEST_F(Replay, AFolderWithoutSpectrumFilesIsToldAndPlaysNothing) {
    std::ofstream("series/notes.csv") << "x";
    fs::create_directory("series/old.txt");
    Command(ID_BTN_OPEN_CONTINUOUS);
    ASSERT_EQ(prompts.texts.size(), 1u);
    EXPECT_EQ(prompts.texts[0], OwnText(replayText_NoFiles).arg(prompts.folderName + "/"));
    EXPECT_TRUE(page.PlaybackIdle());
    EXPECT_FALSE(page.HasTimer(COpenContinuousSpectrumDlg::kPlaybackTimer));
}

TEST_F(Replay, SettingsIntervalInMsOrSAndOkOnlyWithAFolder) {
    COpenContinuousSettingDlg dialog(500);
    EXPECT_EQ(dialog.windowTitle(), "Continuous spectrum display settings");
    EXPECT_EQ(dialog.IntervalBox()->text(), "500");
    dialog.UnitBox()->setCurrentIndex(1);
    EXPECT_EQ(dialog.IntervalBox()->text(), "0.5");
    Type(dialog.IntervalBox(), "1.25");
    EXPECT_EQ(dialog.IntervalMs(), 1250);
    dialog.UnitBox()->setCurrentIndex(0);
    EXPECT_EQ(dialog.IntervalBox()->text(), "1250");
    for (const char* refused : {"0", "-3", "abc", "0.4", "1e12"}) {
        Type(dialog.IntervalBox(), refused);
        EXPECT_EQ(dialog.IntervalMs(), 1250) << refused;
        EXPECT_EQ(dialog.IntervalBox()->text(), "1250");
    }
    dialog.IntervalBox()->setText("75");
    QTest::keyClick(dialog.IntervalBox(), Qt::Key_Return);
    EXPECT_EQ(dialog.IntervalMs(), 75) << "Enter takes the number";
    dialog.IntervalArrows()->Up()->click();
    EXPECT_EQ(dialog.IntervalMs(), 175);
    dialog.IntervalArrows()->Down()->click();
    dialog.IntervalArrows()->Down()->click();
    EXPECT_EQ(dialog.IntervalMs(), 75) << "never below 1 ms";

    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    dialog.OkButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(prompts.texts.size(), 1u);
    EXPECT_EQ(prompts.texts[0], Text(strMainDlg_OpenContinuousSpectrumSettingDlg_PleaseChooseDir));
    dialog.ChooseDirButton()->click();
    EXPECT_EQ(dialog.DirField()->text(), prompts.folderName + "/");
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.SpectrumDir(), prompts.folderName + "/");
}

TEST_F(Replay, TheContinuousCommandOpensAReplayPage) {
    CSpectrumRegionDlg region;
    EXPECT_EQ(SendMessage(&region, WM_OPEN_TAB, ID_OPEN_CONTINUOUS_SPECTRUM, 0), 0);
    ASSERT_EQ(region.Records().size(), 1u);
    EXPECT_NE(dynamic_cast<COpenContinuousSpectrumDlg*>(region.Records()[0].page.get()), nullptr);
    EXPECT_EQ(region.Tabs()->tabText(0), "Continuous Spectrum(0)");
}
