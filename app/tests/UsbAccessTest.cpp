#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "AppTestSupport.h"
#include "FakeUsbBackend.h"
#include "Prompts.h"
#include "Varelix2Dlg.h"
#include "UdevRule.h"
#include "UsbSpectrometersDlg.h"

using namespace quenlix;
using namespace quenlix::testing;

namespace {

constexpr kestrion::UsbId kDenied{0x1a2b, 0x3c4d};
constexpr kestrion::UsbId kKeyboard{0x0aaa, 0x0001};
const char* const kDeniedText = "bus 2 address 5 (1a2b:3c4d)";

class RecordingPrompts : public Prompts {
public:
    std::vector<QString> messages;
    std::function<int(QDialog&)> onModal;
    Answer MessageBox(QWidget*, const QString& text, const QString& caption, Buttons) override {
        messages.push_back(caption + ": " + text);
        return Answer::Ok;
    }
    int RunModal(QDialog& dialog) override { return onModal ? onModal(dialog) : QDialog::Rejected; }
};

std::string ListFile() {
    std::ifstream in(kestrion::kUsbDeviceListFile, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteListFile(const std::string& text) {
    std::filesystem::create_directories("config");
    std::ofstream(kestrion::kUsbDeviceListFile, std::ios::binary) << text;
}

// A simulated spectrometer, a listed-pair device this user may not open and
// a keyboard, with messages and dialogs answered by the test.
class UsbAccess : public SimulatedDevicesTest {
protected:
    void SetUp() override {
        SimulatedDevicesTest::SetUp();
        AddUnit(0);
        fake->AddForeign(5, kDenied);
        fake->AddForeign(6, kKeyboard, "Acme", "Keyboard");
        kestrion::SetUsbBackend(fake);
        InstallPrompts(&prompts);
    }
    void TearDown() override {
        InstallPrompts(nullptr);
        SimulatedDevicesTest::TearDown();
    }
    int Messages(const char* containing) const {
        return static_cast<int>(std::count_if(prompts.messages.begin(), prompts.messages.end(),
                                              [&](const QString& m) { return m.contains(containing); }));
    }

    std::shared_ptr<FakeUsbBackend> fake = std::make_shared<FakeUsbBackend>(bus);
    RecordingPrompts prompts;
};

TEST_F(UsbAccess, ADeniedListedSpectrometerIsToldOncePerRescanWithTheRuleAndItsCommands) {
    WriteListFile("1a2b:3c4d\n");
    CVarelix2Dlg window;
    EXPECT_TRUE(prompts.messages.empty()) << "told from the event loop, once the window shows";
    QCoreApplication::processEvents();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(deviceList.size(), 1u) << "the simulated unit starts all the same";
    const QString& message = prompts.messages[0];
    EXPECT_TRUE(message.startsWith("USB permission: ")) << message.toStdString();
    EXPECT_TRUE(message.contains(kDeniedText));
    EXPECT_TRUE(message.contains(kUdevRulesFile));
    EXPECT_TRUE(
        message.contains("sudo cp spectrometer_link/udev/70-quenlix-spectrometers.rules /etc/udev/rules.d/"));
    EXPECT_TRUE(message.contains("sudo udevadm control --reload-rules && sudo udevadm trigger"));

    window.OnCommand(ID_RESCAN_DEVICES);
    QCoreApplication::processEvents();
    SendMessage(&window, WM_RESCAN_DEVICES, 0, 0);  // the rescan a failed link asks for
    SendMessage(&window, WM_RESCAN_DEVICES, 0, 0);  // again before the message is shown
    QCoreApplication::processEvents();
    EXPECT_EQ(Messages(kDeniedText), 3) << "one message a rescan, none while one is due";

    WriteListFile("");  // no longer listed: not looked for, nothing to tell
    window.OnCommand(ID_RESCAN_DEVICES);
    QCoreApplication::processEvents();
    EXPECT_EQ(prompts.messages.size(), 3u);

    WriteListFile("1a2b:3c4d\n");
    languageIndex = 0;
    window.OnCommand(ID_RESCAN_DEVICES);
    QCoreApplication::processEvents();
    ASSERT_EQ(prompts.messages.size(), 4u);
    EXPECT_TRUE(prompts.messages[3].contains(QStringLiteral("无权打开")));
    EXPECT_TRUE(prompts.messages[3].contains(kDeniedText));
}

TEST_F(UsbAccess, HotplugNoteComesFromTheBackendThreadAndGoesWithTheRescan) {
    const auto note = [](const CVarelix2Dlg& window) { return window.StatusPane(0)->text(); };
    const auto waitFor = [&](const CVarelix2Dlg& window, const char* text) {
        for (int i = 0; i < 100 && !note(window).contains(text); ++i) RunEventLoop(10);
        return note(window).contains(text);
    };
    {
        CVarelix2Dlg window;
        EXPECT_FALSE(note(window).contains("Spectrometer"));
        bus->Unit(0)->Unplug();
        EXPECT_TRUE(waitFor(window, "Spectrometer removed: use Device > Rescan Devices"))
            << note(window).toStdString();
        EXPECT_TRUE(note(window).startsWith("App Version:"));
        bus->Unit(0)->PlugIn();
        EXPECT_TRUE(waitFor(window, "Spectrometer connected: use Device > Rescan Devices"));
        window.OnCommand(ID_LANGUAGE_CHT);
        EXPECT_TRUE(note(window).contains(QStringLiteral("光譜儀已連接：請使用「裝置 > 重新掃描裝置」")));
        EXPECT_EQ(deviceList.size(), 1u) << "no rescan of its own";

        window.OnCommand(ID_RESCAN_DEVICES);
        EXPECT_FALSE(note(window).contains(QStringLiteral("光譜儀")));
    }
    // The bus outlives the window: a later unplug must reach nothing.
    bus->Unit(0)->Unplug();
    RunEventLoop(3 * kestrion::SimulatedBus::kHotplugPollMs);
}

// Opens the dialog from the menu with a fresh enumeration and hands it to act.
class UsbSpectrometersDialog : public UsbAccess {
protected:
    static QTreeWidgetItem* Row(UsbSpectrometersDlg& dialog, int i) {
        return dialog.DeviceTree()->topLevelItem(i);
    }
    static QStringList Texts(QTreeWidgetItem* row) {
        QStringList texts;
        for (int c = 0; c < row->columnCount(); ++c) texts << row->text(c);
        return texts;
    }
};

TEST_F(UsbSpectrometersDialog, ListsEveryDeviceWithItsStringsPlaceAndListedState) {
    WriteListFile("# mine\n1a2b:3c4d\n");
    CVarelix2Dlg window;
    int shown = 0;
    prompts.onModal = [&](QDialog& shownDialog) {
        auto& dialog = dynamic_cast<UsbSpectrometersDlg&>(shownDialog);
        ++shown;
        EXPECT_EQ(dialog.DeviceTree()->topLevelItemCount(), 3);
        EXPECT_EQ(Texts(Row(dialog, 0)),
                  (QStringList{"1209:0001", "Quenlix", "Simulated spectrometer", "1", "2", "yes"}));
        EXPECT_EQ(Texts(Row(dialog, 1)), (QStringList{"1a2b:3c4d", "", "", "2", "5", "yes"}));
        EXPECT_EQ(Texts(Row(dialog, 2)), (QStringList{"0aaa:0001", "Acme", "Keyboard", "2", "6", ""}));
        EXPECT_EQ(Row(dialog, 1)->checkState(0), Qt::Checked);
        EXPECT_EQ(Row(dialog, 2)->checkState(0), Qt::Unchecked);
        return QDialog::Rejected;
    };
    window.MenuAction(ID_USB_SPECTROMETERS)->trigger();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(window.MenuAction(ID_USB_SPECTROMETERS)->text(), QStringLiteral("USB Spectrometers…"));
}

TEST_F(UsbSpectrometersDialog, TickingAndSavingEditsTheListKeepingCommentsAndShowsThePairsRule) {
    WriteListFile("# lab\r\n1a2b:3c4d  # the denied one\r\n");
    fake->AddForeign(7, kKeyboard);  // a second device of the keyboard's pair
    UsbSpectrometersDlg dialog(fake->AllDevices(), nullptr);
    Row(dialog, 2)->setCheckState(0, Qt::Checked);
    EXPECT_EQ(Row(dialog, 3)->checkState(0), Qt::Checked) << "the list holds pairs: both devices follow";
    Row(dialog, 1)->setCheckState(0, Qt::Unchecked);
    const QString rules = dialog.RuleText()->toPlainText();
    EXPECT_TRUE(rules.contains(UdevRuleLine(0x0aaa, 0x0001)));
    EXPECT_TRUE(rules.contains(R"(ATTRS{idVendor}=="0aaa", ATTRS{idProduct}=="0001")"));
    EXPECT_FALSE(rules.contains(R"(ATTRS{idVendor}=="1a2b")")) << "unticked";
    EXPECT_TRUE(rules.contains(UdevInstallCommands()));
    EXPECT_EQ(rules.count("SUBSYSTEM"), 2) << "one line per pair: simulator and keyboard";

    EXPECT_EQ(ListFile(), "# lab\r\n1a2b:3c4d  # the denied one\r\n") << "nothing written before saving";
    dialog.SaveButton()->click();
    EXPECT_EQ(ListFile(), "# lab\r\n# 1a2b:3c4d  # the denied one\r\n0aaa:0001\r\n");
    EXPECT_EQ(Row(dialog, 1)->text(5), "");
    EXPECT_EQ(Row(dialog, 3)->text(5), "yes");
    EXPECT_TRUE(prompts.messages.empty());

    dialog.SaveButton()->click();  // unchanged ticks write nothing new
    EXPECT_EQ(ListFile(), "# lab\r\n# 1a2b:3c4d  # the denied one\r\n0aaa:0001\r\n");
}

TEST_F(UsbSpectrometersDialog, AFailedWriteIsToldAndLeavesTheListedStateAlone) {
    std::filesystem::create_directories(kestrion::kUsbDeviceListFile);  // no file can go there
    UsbSpectrometersDlg dialog(fake->AllDevices(), nullptr);
    Row(dialog, 2)->setCheckState(0, Qt::Checked);
    EXPECT_FALSE(dialog.Save());
    ASSERT_EQ(prompts.messages.size(), 1u);
    const std::string listFile = std::filesystem::absolute(kestrion::kUsbDeviceListFile).string();
    EXPECT_TRUE(prompts.messages[0].contains(QString::fromStdString("Could not write " + listFile + ";")))
        << prompts.messages[0].toStdString();
    EXPECT_EQ(Row(dialog, 2)->text(5), "");
}

TEST_F(UsbSpectrometersDialog, SaveAndRescanListsTheDeviceAndTheRescanTellsItIsDenied) {
    CVarelix2Dlg window;
    prompts.onModal = [&](QDialog& shownDialog) {
        auto& dialog = dynamic_cast<UsbSpectrometersDlg&>(shownDialog);
        Row(dialog, 1)->setCheckState(0, Qt::Checked);
        dialog.SaveAndRescanButton()->click();
        return dialog.result();
    };
    window.OnCommand(ID_USB_SPECTROMETERS);
    QCoreApplication::processEvents();
    EXPECT_EQ(ListFile(), "1a2b:3c4d\n");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].contains(kDeniedText));
}

}  // namespace
