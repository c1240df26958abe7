#include <gtest/gtest.h>

#include <QDir>
#include <QResizeEvent>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "AppTestSupport.h"
#include "Lexora.h"
#include "Prompts.h"
#include "ShippedFile.h"
#include "Varelix2App.h"
#include "Varelix2Dlg.h"

using namespace quenlix;
using namespace quenlix::testing;

namespace {

class ScriptedPrompts : public Prompts {
public:
    std::vector<QString> messages;
    std::vector<QString> opened;
    std::optional<std::uint32_t> color;
    Answer MessageBox(QWidget*, const QString& text, const QString& caption, Buttons) override {
        messages.push_back(caption + ": " + text);
        return Answer::Ok;
    }
    std::optional<std::uint32_t> ChooseColor(QWidget*, std::uint32_t initial) override {
        EXPECT_EQ(initial, 0u) << "the chooser starts from black";
        return color;
    }
    void OpenDocument(const QString& path) override { opened.push_back(path); }
};

std::string LanguageFile() {
    std::ifstream in("config/language.bin", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class MainWindow : public SimulatedDevicesTest {
protected:
    void SetUp() override {
        SimulatedDevicesTest::SetUp();
        InstallPrompts(&prompts);
    }
    void TearDown() override {
        InstallPrompts(nullptr);
        SimulatedDevicesTest::TearDown();
    }
    ScriptedPrompts prompts;
};

}  // namespace

TEST_F(MainWindow, StartsInTheStoredLanguageAndRewritesTheFile) {
    std::filesystem::create_directories("config");
    std::ofstream("config/language.bin", std::ios::binary) << "Cht";
    CVarelix2Dlg window;
    EXPECT_EQ(languageIndex, 1);
    EXPECT_EQ(LanguageFile(), std::string("Cht\0", 4));
    EXPECT_EQ(window.windowTitle(), QString::fromWCharArray(strMainDlg_WindowText[1]));
    EXPECT_TRUE(window.MenuAction(ID_LANGUAGE_CHT)->isChecked());
    EXPECT_EQ(window.MenuAction(ID_RESCAN_DEVICES)->text(),
              QString::fromWCharArray(strMainMenu_Device_RescanDevices[1]));
}

TEST_F(MainWindow, MenusAndStatusBarInEnglish) {
    CVarelix2Dlg window;
    EXPECT_EQ(LanguageFile(), std::string("Eng\0", 4)) << "created on the first run";
    EXPECT_EQ(window.windowTitle(), "Spectrometer Analysis Software");
    QStringList top;
    for (QAction* a : window.MenuBar()->actions()) top << a->text();
    EXPECT_EQ(top, (QStringList{"File", "Device", "Process", "Settings", "Simulator", "Help"}))
        << "the devices are simulated";
    EXPECT_EQ(window.MenuAction(ID_Y_DECIBEL)->text(), "Decible");
    EXPECT_EQ(window.MenuAction(ID_LANGUAGE_CHS)->text(), QStringLiteral("简体中文"));
    EXPECT_FALSE(window.MenuAction(ID_LANGUAGE_JAP)->isEnabled());
    EXPECT_TRUE(window.MenuAction(ID_LANGUAGE_ENG)->isChecked());
    EXPECT_EQ(window.StatusPane(0)->text(), "App Version:" + window.VersionText());
    EXPECT_FALSE(window.VersionText().isEmpty());
    RunEventLoop(150);
    EXPECT_TRUE(window.StatusPane(1)->text().startsWith("Current Time: "));
    EXPECT_GT(window.StatusPane(1)->text().size(), 20) << "the clock runs";

    window.show();  // hidden windows leave their children's layout for later
    window.showNormal();
    window.resize(1000, 700);
    EXPECT_EQ(window.StatusPane(0)->parentWidget()->geometry(), QRect(0, 675, 1000, 25));
    EXPECT_GE(window.StatusPane(1)->width(), 230);
    EXPECT_EQ(window.StatusPane(0)->width() + window.StatusPane(1)->width() + window.StatusPane(2)->width(), 1000);
    EXPECT_EQ(window.MainPanel()->SourcePanel()->width(), 230);
    window.MainPanel()->SourcePanel()->CollapseButton()->click();
    EXPECT_EQ(window.MainPanel()->SourcePanel()->width(), 22);
    EXPECT_EQ(window.MainPanel()->RegionPanel()->width(), 1000 - 22);
}

TEST_F(MainWindow, LanguageMenu) {
    CVarelix2Dlg window;
    window.MenuAction(ID_LANGUAGE_CHS)->trigger();
    EXPECT_EQ(languageIndex, 0);
    EXPECT_EQ(LanguageFile(), std::string("Chs\0", 4));
    EXPECT_TRUE(window.MenuAction(ID_LANGUAGE_CHS)->isChecked());
    EXPECT_FALSE(window.MenuAction(ID_LANGUAGE_ENG)->isChecked());
    EXPECT_EQ(window.windowTitle(), QString::fromWCharArray(strMainDlg_WindowText[0]));
    EXPECT_EQ(window.MainPanel()->RegionPanel()->Strip()->UnitBox()->itemText(0),
              QString::fromWCharArray(strMainDlg_SpecRegion_DevParams_IntegralTimeUnitMS[0]));

    // Choosing the checked language again changes nothing but rewrites the file.
    std::filesystem::remove("config/language.bin");
    window.MenuAction(ID_LANGUAGE_CHS)->trigger();
    EXPECT_TRUE(window.MenuAction(ID_LANGUAGE_CHS)->isChecked());
    EXPECT_EQ(LanguageFile(), std::string("Chs\0", 4));
}

TEST_F(MainWindow, ManualFollowsTheLanguageAndIsLookedForWhereItShips) {
    const std::string chs = "Operation Manunal/Spectrometer Manual_Chs.pdf";
    const std::string eng = "Operation Manunal/Spectrometer Manual_Eng.pdf";
    std::filesystem::create_directories("Operation Manunal");
    for (const std::string& name : {chs, eng}) std::ofstream(name) << "%PDF";
    CVarelix2Dlg window;
    for (int language : {0, 1, 2, 3}) {
        languageIndex = language;
        window.OnCommand(ID_OPERATION_MANUAL);
    }
    ASSERT_EQ(prompts.opened.size(), 4u);
    const QDir here = QDir::current();
    EXPECT_EQ(prompts.opened[0], here.absoluteFilePath(QString::fromStdString(chs)));
    EXPECT_EQ(prompts.opened[1], here.absoluteFilePath(QString::fromStdString(chs)));
    EXPECT_EQ(prompts.opened[2], here.absoluteFilePath(QString::fromStdString(eng)));
    EXPECT_EQ(prompts.opened[3], here.absoluteFilePath(QString::fromStdString(eng)));
    EXPECT_TRUE(prompts.messages.empty());

    // Not in the working directory: the build tree's or the installed copy,
    // else a message in the UI's language naming every place looked at.
    std::filesystem::remove_all("Operation Manunal");
    prompts.opened.clear();
    const char* const notFound[] = {"找不到操作手册", "找不到操作手冊", "The operation manual"};
    for (int language : {0, 1, 2}) {
        SCOPED_TRACE(language);
        languageIndex = language;
        const std::size_t told = prompts.messages.size();
        window.OnCommand(ID_OPERATION_MANUAL);
        const ShippedFileSearch search = FindShippedFile(language < 2 ? chs : eng, ShippedKind::Document);
        if (!search.found.empty()) {
            ASSERT_FALSE(prompts.opened.empty());
            EXPECT_EQ(prompts.opened.back(), QString::fromStdString(search.found));
            continue;
        }
        EXPECT_TRUE(prompts.opened.empty());
        ASSERT_EQ(prompts.messages.size(), told + 1);
        const QString& message = prompts.messages.back();
        const QString caption = QString::fromWCharArray(strMainMenu_Help_OperationManual[language]);
        EXPECT_TRUE(message.startsWith(caption + ": " + QString::fromUtf8(notFound[language])))
            << message.toStdString();
        ASSERT_EQ(search.looked.size(), 3u);
        for (const std::string& place : search.looked)
            EXPECT_TRUE(message.contains(QString::fromStdString(place))) << place;
    }
}

TEST_F(MainWindow, ColourCommands) {
    CVarelix2Dlg window;
    chartAxisColor = 0;
    prompts.color = 0x123456;
    window.OnCommand(ID_COLOR_AXIS);
    EXPECT_EQ(chartAxisColor, 0x123456u);
    prompts.color.reset();
    window.OnCommand(ID_COLOR_AXIS);
    EXPECT_EQ(chartAxisColor, 0x123456u) << "cancel changes nothing";
    prompts.color = 0xABCDEF;
    window.OnCommand(ID_COLOR_BACKGROUND);
    EXPECT_EQ(chartBackgroundColor, 0xABCDEFu);
    window.OnCommand(ID_COLOR_RESET_BACKGROUND);
    EXPECT_EQ(chartBackgroundColor, SystemButtonFaceColor());
}

TEST_F(MainWindow, DiscoverySkipsADeviceThatFailsToStart) {
    AddUnit(0)->Refuse(0xE2);  // identity request refused
    AddUnit(1);
    CVarelix2Dlg window;
    ASSERT_EQ(deviceList.size(), 1u);
    EXPECT_EQ(deviceList[0].number, 0);
    EXPECT_EQ(deviceList[0].serialNumber.find(L"SIM00001") != std::wstring::npos, true)
        << QString::fromStdWString(deviceList[0].serialNumber).toStdString();
}

TEST_F(MainWindow, RescanRebuildsTheListAndTellsThePanels) {
    AddUnit(0);
    CVarelix2Dlg window;
    const QTreeWidget* tree = window.MainPanel()->SourcePanel()->DevicePage()->Tree();
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 1);
    AddUnit(1);
    EXPECT_EQ(SendMessage(&window, WM_RESCAN_DEVICES, 0, 0), 1);
    ASSERT_EQ(deviceList.size(), 2u);
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 2);
    bus->Unit(0)->Unplug();
    bus->Unit(1)->Unplug();
    window.OnCommand(ID_RESCAN_DEVICES);
    EXPECT_TRUE(deviceList.empty());
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "No Device");
}

TEST_F(MainWindow, OnlyOneInstanceRuns) {
    const QString lock = QDir::current().absoluteFilePath("instance.lock");
    excitationWavelengthSetting = 785.0;
    {
        CVarelix2App first(lock);
        ASSERT_TRUE(first.InitInstance());
        ASSERT_NE(first.MainWindow(), nullptr);
        QTabBar* tabs = first.MainWindow()->MainPanel()->RegionPanel()->Tabs();
        ASSERT_EQ(tabs->count(), 1);
        EXPECT_EQ(tabs->tabText(0), "Chart(0)") << "every run starts with a live chart";
        {
            CVarelix2App second(lock);
            EXPECT_FALSE(second.InitInstance());
        }
        EXPECT_FALSE(std::filesystem::exists("config/Excitation Wavelength.bin"))
            << "the refused instance writes nothing";
        EXPECT_TRUE(first.MainWindow()->isVisible()) << "the first is unaffected";
        excitationWavelengthSetting = 532.0;
    }
    EXPECT_EQ(prompts.messages, std::vector<QString>{"Prompt: The application is running now!"});
    EXPECT_TRUE(std::filesystem::exists("config/Excitation Wavelength.bin"));
    CVarelix2App again(lock);
    EXPECT_EQ(excitationWavelengthSetting, 532.0);
    EXPECT_TRUE(again.InitInstance()) << "the lock went with the first instance";
}
