#include <gtest/gtest.h>

#include <QMenu>
#include <QPushButton>

#include "AppTestSupport.h"
#include "ChooseDeviceDlg.h"
#include "ChooseDeviceDlg1.h"
#include "DataSourceInfoDlg.h"
#include "MessagePayloads.h"
#include "Prompts.h"
#include "SetSuperpositionCountDlg.h"

using namespace quenlix;
using namespace quenlix::testing;

namespace {

using DevicePanels = SimulatedDevicesTest;

QStringList Texts(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i) texts << item->child(i)->text(0);
    return texts;
}

// Records WM_CHOSEN_SOURCES and WM_STATIC_SPECTRUM_TOGGLED.
class SourceRecorder : public Window {
public:
    std::vector<std::vector<int>> devices;
    std::vector<std::vector<int>> statics;
    std::vector<std::pair<QString, int>> toggles;
    LRESULT OnMessage(unsigned msg, WPARAM w, LPARAM l) override {
        if (msg == WM_CHOSEN_SOURCES && w) devices.push_back(*WParamData<WM_CHOSEN_SOURCES>(w));
        if (msg == WM_CHOSEN_SOURCES && !w) statics.push_back(*LParamData<WM_CHOSEN_SOURCES>(l));
        if (msg == WM_STATIC_SPECTRUM_TOGGLED)
            toggles.emplace_back(*WParamData<WM_STATIC_SPECTRUM_TOGGLED>(w), static_cast<int>(l));
        return 1;
    }
};

class ChooseFirstMenuItem : public Prompts {
public:
    QAction* RunMenu(QMenu& menu, const QPoint&) override { return menu.actions().value(0); }
};

}  // namespace

TEST_F(DevicePanels, DeviceTreeShowsNoDeviceOrEveryDevice) {
    CDeviceInfoDlg page;
    ASSERT_EQ(page.Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(page.Tree()->topLevelItem(0)->text(0), "No Device");
    EXPECT_EQ(page.Tree()->topLevelItem(0)->childCount(), 0);

    AddUnit(0);
    AddUnit(1);
    DiscoverDevices();
    EXPECT_EQ(SendMessage(messageTargets.deviceInfoPage, WM_DEVICES_CHANGED, 0, 0), 1);
    const QTreeWidgetItem* root = page.Tree()->topLevelItem(0);
    EXPECT_EQ(root->text(0), "Device List");
    EXPECT_EQ(Texts(root), (QStringList{"Device 0", "Device 1"}));
    const DeviceEntry& second = deviceList[1];
    EXPECT_EQ(Texts(root->child(1)),
              (QStringList{"Type:" + QString::fromStdWString(second.deviceName),
                           "Version:" + QString::fromStdWString(second.versionInfo), "Wavelength:200-1100",
                           "Serial No:" + QString::fromStdWString(second.serialNumber)}));
    EXPECT_TRUE(root->isExpanded());
    EXPECT_TRUE(root->child(1)->isExpanded());
}

TEST_F(DevicePanels, SourcePanelCollapsesAndTellsTheMainPanel) {
    std::vector<WPARAM> expanded;
    struct ExpandRecorder : Window {
        std::vector<WPARAM>* seen;
        LRESULT OnMessage(unsigned msg, WPARAM w, LPARAM) override {
            if (msg == WM_EXPAND_SOURCE_PANEL) seen->push_back(w);
            return 1;
        }
    } receiver;
    receiver.seen = &expanded;
    CDataSourceInfoDlg panel(&receiver);
    EXPECT_EQ(panel.CollapseButton()->text(), "<<");
    panel.CollapseButton()->click();
    EXPECT_FALSE(panel.IsExpanded());
    EXPECT_EQ(panel.CollapseButton()->text(), ">>");
    panel.CollapseButton()->click();
    EXPECT_EQ(expanded, (std::vector<WPARAM>{0, 1}));
}

TEST_F(DevicePanels, DeviceChoiceDialog) {
    {
        CChooseDeviceDlg1 none;
        none.OkButton()->click();
        EXPECT_EQ(none.chosenNumber, -1) << "no spectrometer";
    }
    AddUnit(0);
    AddUnit(1);
    DiscoverDevices();
    CChooseDeviceDlg1 dialog;
    ASSERT_EQ(dialog.List()->count(), 2);
    EXPECT_EQ(dialog.List()->currentIndex(), 0);
    dialog.List()->setCurrentIndex(1);
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.chosenNumber, 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(DevicePanels, SuperpositionCountTakesOnlyPositiveNumbers) {
    const std::pair<const char*, int> cases[] = {{"5", 5}, {"0", 3}, {"-2", 3}, {"x", 3}};
    for (const auto& [typed, expected] : cases) {
        CSetSuperpositionCountDlg dialog(3);
        EXPECT_EQ(dialog.CountBox()->text(), "3");
        dialog.CountBox()->setText(typed);
        dialog.OkButton()->click();
        EXPECT_EQ(dialog.superpositionCount, expected) << typed;
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
}

TEST_F(DevicePanels, ChooserReportsTickedDevicesAndStaticSpectra) {
    AddUnit(0);
    AddUnit(1);
    AddUnit(2);
    DiscoverDevices();
    SourceRecorder view;
    SourceRecorder panel;
    CChooseDeviceDlg chooser;
    chooser.SetSourceTargetView(&view);
    chooser.SetSourceTargetPanel(&panel);
    chooser.RefreshDevices();
    EXPECT_EQ(view.devices, (std::vector<std::vector<int>>{{}}));
    ASSERT_EQ(chooser.DeviceTree()->topLevelItemCount(), 3);
    chooser.DeviceTree()->topLevelItem(2)->setCheckState(0, Qt::Checked);
    chooser.DeviceTree()->topLevelItem(0)->setCheckState(0, Qt::Checked);
    EXPECT_EQ(view.devices.back(), (std::vector<int>{0, 2}));
    EXPECT_EQ(panel.devices.back(), (std::vector<int>{0, 2}));

    chooser.AddStaticSpectrum("4 lamp.txt");
    chooser.AddStaticSpectrum("7 ruby.txt");
    EXPECT_EQ(panel.statics.back(), (std::vector<int>{4, 7}));
    chooser.StaticTree()->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(view.toggles.back(), (std::pair<QString, int>{"4 lamp.txt", 0}));
    EXPECT_EQ(panel.statics.back(), std::vector<int>{7});

    ChooseFirstMenuItem prompts;
    InstallPrompts(&prompts);
    chooser.OpenStaticMenu(chooser.StaticTree()->topLevelItem(1), QPoint());
    InstallPrompts(nullptr);
    EXPECT_EQ(view.toggles.back(), (std::pair<QString, int>{"7 ruby.txt", 2}));
    EXPECT_EQ(chooser.StaticTree()->topLevelItemCount(), 1);
    EXPECT_TRUE(panel.statics.back().empty());

    // After a rescan with fewer devices the extra items go.
    bus->Unit(2)->Unplug();
    DiscoverDevices();
    chooser.ApplyLanguage(2);
    EXPECT_EQ(chooser.DeviceTree()->topLevelItemCount(), 2);
}
