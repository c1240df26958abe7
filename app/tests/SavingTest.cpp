#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFocusEvent>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "DataFileLoad.h"
#include "LivePageFixture.h"
#include "MessagePayloads.h"
#include "Lexora.h"
#include "SaveSerialSpectrumDataSettingDlg.h"
#include "SavingTexts.h"
#include "ToolbarCommands.h"
#include "UiText.h"

using namespace quenlix;
using namespace quenlix::testing;
namespace fs = std::filesystem;

namespace {

class Saving : public LivePageTest {
protected:
    // Whether some message shown so far mentions text.
    bool Told(const QString& text) const {
        return std::any_of(prompts.texts.begin(), prompts.texts.end(),
                           [&](const QString& shown) { return shown.contains(text); });
    }
    const ViewDevice& Active() const { return *page->DeviceRecords().front(); }
};

void Type(QLineEdit* box, const QString& text) {
    box->setText(text);
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(box, &out);
}

TEST_F(Saving, ASavedSpectrumCarriesTheDeviceAndTheTimeSetAndReplacingIsAsked) {
    Open(1);
    double ms = 12.7;
    ASSERT_EQ(page->ApplyParameter(0, reinterpret_cast<LPARAM>(&ms)), 1);
    ASSERT_TRUE(WaitForSpectra(1));
    prompts.saveName = "one.txt";
    Command(ID_BTN_SAVE_SPECTRUM);
    EXPECT_EQ(prompts.filters.back(), "TEXT(*.txt);;CSV (*.csv);;JCAMP-DX (*.jdx *.dx)");
    CDataFileLoad reader;
    ASSERT_EQ(reader.SetLoadingSingleDataFilePath(L"one.txt"), 1);
    EXPECT_EQ(reader.GetPixelCount(), Active().pointCount);
    EXPECT_EQ(reader.GetSerialNumber(), Active().serialNumber);
    EXPECT_EQ(reader.GetIntegralTimeMus(), 12700);
    EXPECT_EQ(reader.GetReverse0(), 250) << "the peak threshold";
    EXPECT_TRUE(prompts.texts.empty()) << "nothing to ask or tell";

    std::ofstream("one.txt", std::ios::trunc) << "kept";
    prompts.answer = Prompts::Answer::Cancel;
    Command(ID_BTN_SAVE_SPECTRUM);
    ASSERT_EQ(prompts.texts.size(), 1u);
    EXPECT_EQ(prompts.texts[0], Text(strGeneral_IfReplaceFile));
    EXPECT_EQ(fs::file_size("one.txt"), 4u) << "Cancel keeps the file";
}

// The file's extension, which the dialog takes from the chosen filter, picks
// the export; both name the device and hold the page's pixels.
TEST_F(Saving, ASpectrumSavedAsCsvOrJcampDxReadsBack) {
    Open(1);
    ASSERT_TRUE(WaitForSpectra(1));
    const std::string serial = QString::fromStdWString(Active().serialNumber).toStdString();
    const auto dataLines = [](const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            if (!line.empty() && line[0] != '#') lines.push_back(line);
        return lines;
    };

    prompts.saveName = "one.csv";
    Command(ID_BTN_SAVE_SPECTRUM);
    std::ifstream csvFile("one.csv");
    const std::string csv((std::istreambuf_iterator<char>(csvFile)), {});
    EXPECT_NE(csv.find("# serial number: " + serial + "\n"), std::string::npos) << csv.substr(0, 300);
    const std::vector<std::string> csvLines = dataLines(csv);
    ASSERT_EQ(csvLines.size(), static_cast<size_t>(Active().pointCount));
    EXPECT_NEAR(std::stod(csvLines.front()), Active().xBuffer.front(), 5e-4);

    prompts.saveName = "one.DX";
    Command(ID_BTN_SAVE_SPECTRUM);
    std::ifstream jcampFile("one.DX");
    const std::string jcamp((std::istreambuf_iterator<char>(jcampFile)), {});
    EXPECT_EQ(jcamp.rfind("##TITLE=", 0), 0u) << jcamp.substr(0, 300);
    EXPECT_NE(jcamp.find("##$QUENLIX SERIAL NUMBER=" + serial + "\r\n"), std::string::npos);
    EXPECT_NE(jcamp.find("##NPOINTS=" + std::to_string(Active().pointCount) + "\r\n"), std::string::npos);
    EXPECT_EQ(dataLines(jcamp).size(), static_cast<size_t>(Active().pointCount));
    EXPECT_TRUE(prompts.texts.empty());

    prompts.saveName = "gone/one.jdx";
    Command(ID_BTN_SAVE_SPECTRUM);
    EXPECT_TRUE(Told("gone/one.jdx"));
}

// A save that writes nothing says so, naming the file; a device node is
// never replaced.
TEST_F(Saving, EveryFailedSaveIsToldWithItsFile) {
    Open(1);
    ASSERT_TRUE(WaitForSpectra(1));
    std::vector<QString> paths = {"gone/a.txt", "/dev/full"};
    if (::geteuid() != 0) {
        fs::create_directory("locked");
        ::chmod("locked", 0555);
        paths.push_back("locked/a.txt");
    }
    for (const QString& path : paths) {
        prompts.saveName = path;
        Command(ID_BTN_SAVE_SPECTRUM);
        EXPECT_TRUE(Told(path)) << path.toStdString();
    }
    EXPECT_TRUE(fs::is_character_file("/dev/full"));

    prompts.saveName = "base.txt";
    Command(ID_BTN_SAVE_BASE_DELETED);
    EXPECT_TRUE(Told(OwnText(savingText_NoBaseDeleted))) << "no peak search yet";
    EXPECT_FALSE(fs::exists("base.txt"));
    Command(ID_BTN_AUTO_PEAK, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return page->Chart().HasPeakDeleteBaseData(); }, 5000));
    Command(ID_BTN_SAVE_BASE_DELETED);
    EXPECT_TRUE(fs::is_regular_file("base.txt")) << "after a search it is saved";

    prompts.saveName = "gone/chart.png";
    Command(ID_BTN_SAVE_IMAGE);
    // Written at the next repaint, told once painting is over.
    EXPECT_TRUE(QTest::qWaitFor([&] { return Told("gone/chart.png"); }, 5000));
    prompts.saveName = "chart.png";
    Command(ID_BTN_SAVE_IMAGE);
    EXPECT_EQ(prompts.filters.back(), "JPEG(*.jpg *.jpeg);;BMP(*.bmp);;PNG(*.png)");
    EXPECT_TRUE(QTest::qWaitFor([] { return fs::is_regular_file("chart.png"); }, 5000));
}

TEST_F(Saving, OverlaidFilesAreNamedByTheCounterAndAFileThatIsNoSpectrumIsTold) {
    Open(1);
    ASSERT_TRUE(WaitForSpectra(1));
    prompts.saveName = "saved.txt";
    Command(ID_BTN_SAVE_SPECTRUM);
    Command(ID_BTN_ADD_ACTIVE_SPECTRUM);
    Command(ID_BTN_ADD_ACTIVE_SPECTRUM);
    prompts.openName = fs::absolute("saved.txt").c_str();
    Command(ID_BTN_LOAD_SPECTRUM);
    QTreeWidget* statics = page->Chooser()->StaticTree();
    ASSERT_EQ(statics->topLevelItemCount(), 3);
    EXPECT_EQ(statics->topLevelItem(2)->text(0), "2 saved.txt");
    EXPECT_EQ(page->Chart().GetActiveLinePixelCount(-1, L"2 saved.txt"), Active().pointCount);

    std::ofstream("notes.txt") << "not a spectrum\r\n";
    prompts.openName = "notes.txt";
    Command(ID_BTN_LOAD_SPECTRUM);
    EXPECT_TRUE(Told("notes.txt"));
    EXPECT_EQ(page->Chart().GetFileLineCount(), 3);

    // With a static line active there is no device spectrum to save.
    SendWithLParam<WM_SELECT_ACTIVE_SPECTRUM>(page.get(), static_cast<WPARAM>(-1), QString("2"));
    prompts.texts.clear();
    Command(ID_BTN_SAVE_SPECTRUM);
    EXPECT_EQ(Command(ID_BTN_SAVE_SERIES, 1), 0);
    EXPECT_EQ(prompts.texts, std::vector<QString>(2, OwnText(savingText_NoActiveDevice)));
}

// The pages without overlays of their own name them "Line %d", from 0 again
// after deleting.
TEST_F(Saving, TheBaseViewNamesOverlaysLineNAndDeletingRestartsTheCount) {
    AddUnit(0);
    DiscoverDevices();
    CSpectrumDisplayBase view;
    view.InitChart();
    view.AddActiveSpectrum();
    view.AddActiveSpectrum();
    EXPECT_GT(view.Chart().GetActiveLinePixelCount(-1, L"Line 0"), 0);
    EXPECT_GT(view.Chart().GetActiveLinePixelCount(-1, L"Line 1"), 0);
    view.DeleteSpectra();
    EXPECT_EQ(view.Chart().GetFileLineCount(), 0);
    view.AddActiveSpectrum();
    EXPECT_GT(view.Chart().GetActiveLinePixelCount(-1, L"Line 0"), 0);
}

// A series as the user makes it: the toolbar button, the settings dialog,
// every spectrum saved until 20 files; each file reads back whole.
TEST_F(Saving, ASeriesOfTwentyFilesFromTheLivePageReadsBack) {
    Open(1);
    double ms = 10;
    page->ApplyParameter(0, reinterpret_cast<LPARAM>(&ms));
    ASSERT_TRUE(WaitForSpectra(1));
    fs::create_directory("runs");
    prompts.folderName = fs::absolute("runs").c_str();
    prompts.modal = [](QDialog& dialog) {
        auto& series = dynamic_cast<CSaveSerialSpectrumDataSettingDlg&>(dialog);
        series.SaveModeChoice(0)->click();
        series.StopModeChoice(1)->click();
        Type(series.SaveCountBox(), "20");
        series.ChooseDirButton()->click();
        series.BeginButton()->click();
        return series.result();
    };
    page->Toolbar()->Button(ID_BTN_SAVE_SERIES)->click();
    ASSERT_TRUE(page->Series().On());
    EXPECT_TRUE(page->Toolbar()->IsPressed(ID_BTN_SAVE_SERIES));
    EXPECT_TRUE(page->SeriesStatus()->isVisible());
    page->hide();  // another page in front: the series goes on
    QElapsedTimer clock;
    clock.start();
    while (page->Series().On() && clock.elapsed() < 10000) RunEventLoop(20);
    ASSERT_FALSE(page->Series().On());
    EXPECT_FALSE(page->Toolbar()->IsPressed(ID_BTN_SAVE_SERIES));
    EXPECT_TRUE(page->SeriesStatus()->isHidden());
    EXPECT_TRUE(Told(Text(strMainDlg_SpecRegion_SpecDis_SaveEnd)));

    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator("runs")) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), 20u);
    for (int i = 0; i < 20; ++i) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "data%05d.txt", i);
        EXPECT_EQ(names[i], expected);
        CDataFileLoad reader;
        ASSERT_EQ(reader.SetLoadingSingleDataFilePath(L"runs/" + fs::path(names[i]).wstring()), 1) << names[i];
        EXPECT_EQ(reader.GetPixelCount(), Active().pointCount);
        EXPECT_EQ(reader.GetSerialNumber(), Active().serialNumber);
    }
}

}  // namespace
