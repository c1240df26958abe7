#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "LivePageFixture.h"
#include "LaserDeviceSettingDlg.h"
#include "PtyPair.h"
#include "Lexora.h"
#include "MessagePayloads.h"
#include "Prompts.h"
#include "SpectrumDisplayDlg.h"
#include "ToolbarCommands.h"
#include "UiText.h"

using namespace quenlix;
using namespace quenlix::testing;

namespace {

class LiveView : public LivePageTest {
protected:
    std::vector<int> BoundNumbers() const {
        std::vector<int> numbers;
        for (const auto& record : page->DeviceRecords()) numbers.push_back(record->number);
        return numbers;
    }
    // The pointer over the chart, in the canvas's own coordinates.
    void MoveOnChart(QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, page->Canvas()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(page->Canvas(), &move);
    }
    void LeaveChart() {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(page->Canvas(), &leave);
    }

};

}  // namespace

TEST_F(LiveView, BindsTheTickedDevicesInListOrderAndARescanLeavesNone) {
    Open(3);
    EXPECT_EQ(BoundNumbers(), (std::vector<int>{0, 1, 2})) << "every device from the start";
    EXPECT_EQ(page->Chart().GetDeviceLineCount(), 3);
    EXPECT_EQ(page->ActiveDevice(), 0);

    const std::vector<int> ticked{2, 0};
    SendWithWParam<WM_CHOSEN_SOURCES>(page.get(), ticked, 0);
    EXPECT_EQ(BoundNumbers(), (std::vector<int>{0, 2}));
    EXPECT_EQ(page->Chart().GetDeviceLineCount(), 2);

    page->BeforeRescan();
    DiscoverDevices();
    page->AfterRescan();
    EXPECT_TRUE(page->DeviceRecords().empty());
    EXPECT_EQ(page->Chart().GetDeviceLineCount(), 0);
    QTreeWidget* tree = page->Chooser()->DeviceTree();
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        EXPECT_EQ(tree->topLevelItem(i)->checkState(0), Qt::Unchecked) << i;
}

// A Y unit divided by the bound devices' count: without a device it must do
// nothing at all.
TEST_F(LiveView, YUnitsNeedDarkAndReferenceOnEveryDeviceAndAtLeastOneDevice) {
    Open(0);
    EXPECT_EQ(SendMessage(page.get(), WM_SET_AXIS_UNIT, 1, 4), 0);
    EXPECT_EQ(Command(ID_BTN_ABSORBANCE), 0);
    EXPECT_EQ(Command(ID_BTN_SUBTRACT_DARK), 0);
    EXPECT_TRUE(prompts.texts.empty());
    page.reset();

    Open(1);
    ASSERT_TRUE(WaitForSpectra(1));
    CCondira& device = *page->DeviceRecords().front()->preprocessor;
    Command(ID_BTN_STORE_DARK);
    EXPECT_EQ(Command(ID_BTN_ABSORBANCE), 0) << "dark but no reference";
    ASSERT_EQ(prompts.texts.size(), 1u);
    EXPECT_EQ(prompts.texts[0], Text(strMainDlg_SpecRegion_SpecDis_WrongMsgNoDarkRef));
    EXPECT_EQ(device.GetYAxisType(), 0);

    EXPECT_EQ(Command(ID_BTN_SUBTRACT_DARK), 1);
    EXPECT_EQ(device.GetYAxisType(), 1);
    Command(ID_BTN_SHOW_RAW);  // a reference is taken from raw counts
    Command(ID_BTN_STORE_REFERENCE);
    EXPECT_EQ(Command(ID_BTN_ABSORBANCE), 1);
    EXPECT_EQ(device.GetYAxisType(), 4);
    double low, high, chartLow, chartHigh;
    device.GetYRegion(low, high);
    page->Chart().GetYRegion(chartLow, chartHigh);
    EXPECT_EQ(chartLow, low);
    EXPECT_EQ(chartHigh, high);
    EXPECT_EQ(page->YTypeCode(), 0) << "only the menu's unit changes the remembered Y type";
}

TEST_F(LiveView, WavenumbersReachEveryDeviceLineAndTheAxis) {
    Open(1);
    const ViewDevice& record = *page->DeviceRecords().front();
    EXPECT_EQ(SendMessage(page.get(), WM_SET_AXIS_UNIT, 0, 4), 1);
    EXPECT_EQ(page->XTypeCode(), 4);
    std::vector<double> x(record.pointCount), y(record.pointCount);
    page->Chart().GetActiveLineSpectrumData(0, L"", x.data(), y.data());
    std::vector<double> converted(record.pointCount);
    record.preprocessor->GetXData(converted.data());
    EXPECT_EQ(x, converted);
    EXPECT_TRUE(std::equal(converted.begin(), converted.end(), record.xBuffer.begin()));
    EXPECT_GT(*std::max_element(x.begin(), x.end()), 9000.0) << "cm-1, not nm";
    double xMin, xMax, deviceMin, deviceMax;
    page->Chart().GetXRegion(xMin, xMax);
    record.preprocessor->GetXRegion(deviceMin, deviceMax);
    EXPECT_EQ(xMin, deviceMin);
    EXPECT_EQ(xMax, deviceMax);
    EXPECT_EQ(SendMessage(page.get(), WM_SET_AXIS_UNIT, 0, 9), 0) << "no such unit";
}

// The reticule's read-out line stays when the pointer leaves the chart;
// a zoom mode leaves the chart with the pointer and comes back with it.
TEST_F(LiveView, ModesFollowThePointerButTheReticuleStays) {
    Open(1);
    ASSERT_TRUE(WaitForSpectra(1));
    const QPoint middle(page->Canvas()->width() / 2, page->Canvas()->height() / 2);

    Command(ID_BTN_RETICULE, 1);
    MoveOnChart(middle);
    EXPECT_EQ(page->AppliedMode(), 4);
    QTest::mouseClick(page->Canvas(), Qt::LeftButton, Qt::NoModifier, middle);
    double x;
    ASSERT_EQ(page->Chart().GetVerticalLineXData(x), 1);
    LeaveChart();
    EXPECT_EQ(page->AppliedMode(), 5);
    EXPECT_EQ(page->Chart().GetVerticalLineXData(x), 1) << "read-out line kept";

    Command(ID_BTN_RETICULE, 0);
    Command(ID_BTN_ZOOM_IN, 1);
    MoveOnChart(middle);
    EXPECT_EQ(page->AppliedMode(), 0);
    LeaveChart();
    EXPECT_EQ(page->AppliedMode(), 5);
    MoveOnChart(middle);
    EXPECT_EQ(page->AppliedMode(), 0);

    // Zoom in released and pressed again with the pointer resting on the
    // chart: the chart had been put back to no mode, so the next move must
    // apply the mode again.
    Command(ID_BTN_RETICULE, 0);
    Command(ID_BTN_ZOOM_IN, 0);
    EXPECT_EQ(page->RequestedMode(), 5);
    Command(ID_BTN_RETICULE, 0);
    Command(ID_BTN_ZOOM_IN, 1);
    MoveOnChart(middle + QPoint(1, 0));
    EXPECT_EQ(page->AppliedMode(), 0);
    double before0, before1, after0, after1;
    page->Chart().GetXRegion(before0, before1);
    QTest::mouseClick(page->Canvas(), Qt::LeftButton, Qt::NoModifier, middle);
    page->Chart().GetXRegion(after0, after1);
    EXPECT_LT(after1 - after0, before1 - before0) << "the click zoomed in";
}

TEST_F(LiveView, RunOnceEndsAfterOneWholeAveragingBlock) {
    Open(1);
    EXPECT_EQ(page->ApplyParameter(1, 3), 1);
    ASSERT_TRUE(WaitForSpectra(1));
    Command(ID_BTN_DEV_STOP);
    RunEventLoop(100);
    const CCondira& device = *page->DeviceRecords().front()->preprocessor;
    const int before = device.GetDataNo();
    RunEventLoop(300);
    EXPECT_EQ(device.GetDataNo(), before) << "stopped";

    // The read-out line, placed by a click in the reticule mode and moved to
    // the mercury line by typing: its Y is reported when the block ends.
    Command(ID_BTN_RETICULE, 1);
    const QPoint middle(page->Canvas()->width() / 2, page->Canvas()->height() / 2);
    MoveOnChart(middle);
    QTest::mouseClick(page->Canvas(), Qt::LeftButton, Qt::NoModifier, middle);
    page->InfoPanel()->XBox()->setText("546.07");
    QTest::keyClick(page->InfoPanel()->XBox(), Qt::Key_Return);
    double x;
    ASSERT_EQ(page->Chart().GetVerticalLineXData(x), 1);
    EXPECT_NEAR(x, 546.07, 0.5);
    EXPECT_FALSE(page->InfoPanel()->PressureBox()->text().isEmpty()) << "nm give a pressure";
    page->InfoPanel()->YBox()->clear();

    Command(ID_BTN_DEV_RUN_ONCE);
    QElapsedTimer clock;
    clock.start();
    while (page->AcquisitionCommand() == 2 && clock.elapsed() < 5000) RunEventLoop(10);
    EXPECT_EQ(page->AcquisitionCommand(), 1);
    EXPECT_GE(device.GetDataNo(), before + 1);
    const int ended = device.GetDataNo();
    RunEventLoop(400);
    EXPECT_EQ(device.GetDataNo(), ended) << "nothing after the block";
    EXPECT_LE(ended, before + 1) << "exactly one block";
    double y;
    ASSERT_EQ(page->Chart().GetVerticalLineYData(y), 1);
    EXPECT_EQ(page->InfoPanel()->YBox()->text(), QString::asprintf("%.3f", y));
}

TEST_F(LiveView, StaticLinesAreNumberedChosenByNumberAndRenumberedAfterDeleting) {
    Open(1);
    ASSERT_TRUE(WaitForSpectra(1));
    Command(ID_BTN_ADD_ACTIVE_SPECTRUM);
    Command(ID_BTN_ADD_ACTIVE_SPECTRUM);
    QTreeWidget* statics = page->Chooser()->StaticTree();
    ASSERT_EQ(statics->topLevelItemCount(), 2);
    EXPECT_EQ(statics->topLevelItem(0)->text(0), "0 Line");
    EXPECT_EQ(statics->topLevelItem(1)->text(0), "1 Line");
    EXPECT_EQ(page->Chart().GetFileLineCount(), 2);

    const QString number = "1";
    SendWithLParam<WM_SELECT_ACTIVE_SPECTRUM>(page.get(), static_cast<WPARAM>(-1), number);
    EXPECT_EQ(page->ActiveDevice(), -1);
    EXPECT_EQ(page->ActiveFileName(), L"1 Line");
    Command(ID_BTN_ADD_ACTIVE_SPECTRUM);
    EXPECT_EQ(statics->topLevelItemCount(), 2) << "no device is active";

    Command(ID_BTN_DELETE_SPECTRA);
    EXPECT_EQ(page->Chart().GetFileLineCount(), 0);
    SendMessage(page.get(), WM_SELECT_ACTIVE_SPECTRUM, 0, -1);
    Command(ID_BTN_ADD_ACTIVE_SPECTRUM);
    ASSERT_EQ(statics->topLevelItemCount(), 1);
    EXPECT_EQ(statics->topLevelItem(0)->text(0), "0 Line");
}

TEST_F(LiveView, HidingTheInformationAreaGivesTheChartItsHeight) {
    Open(0);
    const int shown = page->ChartSize().height();
    page->InfoToggle()->click();
    EXPECT_EQ(page->ChartSize().height(), shown + 150);
    EXPECT_FALSE(page->InfoTabs()->isVisible());
    EXPECT_EQ(page->InfoToggle()->text(), Text(strMainDlg_SpecRegion_SpecDis_DisSpecInfoTab));
    page->InfoToggle()->click();
    EXPECT_EQ(page->ChartSize().height(), shown);
}

// The whole road: the region panel opens the live page, the simulated lamp's
// frames reach the chart, and the peak search finds the mercury line.
TEST_F(LiveView, TheLampsMercuryLineIsFoundWhereItIs) {
    AddUnit(0);
    AddUnit(1);
    DiscoverDevices();
    CSpectrumRegionDlg region;
    region.resize(1200, 800);
    region.show();
    ASSERT_EQ(SendMessage(&region, WM_OPEN_TAB, ID_NEW_SPECTRUM_CHART, 0), 1);
    auto* live = dynamic_cast<CSpectrumDisplayDlg*>(region.SelectedPage());
    ASSERT_NE(live, nullptr);
    const std::vector<int> both{0, 1};
    SendWithWParam<WM_CHOSEN_SOURCES>(live, both, 0);
    ASSERT_EQ(live->DeviceRecords().size(), 2u);
    QElapsedTimer clock;
    clock.start();
    while (live->DeviceRecords().front()->preprocessor->GetDataNo() < 2 && clock.elapsed() < 5000)
        RunEventLoop(20);
    SendMessage(live, WM_SELECT_ACTIVE_SPECTRUM, 0, -1);
    live->Chart().SetAotuSearchPeak(true);
    live->Chart().AddMakringsAtPeaks();
    std::list<double> peaks;
    live->Chart().GetMarkingXValues(peaks);
    double nearest = 1e9;
    for (double x : peaks) nearest = std::min(nearest, std::abs(x - 546.074));
    EXPECT_LT(nearest, 0.5) << peaks.size() << " peaks";
}

// Laser control switched on in the laser dialog starts the laser; closing
// the page must stop it before the port closes, or a pulsed laser would go
// on firing with nothing left to stop it.
TEST_F(LiveView, LaserControlStartsTheLaserAndClosingThePageStopsIt) {
    PtyPair pty;
    ASSERT_TRUE(pty.IsOpen());
    std::filesystem::create_directories("config");
    std::ofstream("config/laser port", std::ios::binary) << pty.SlavePath();
    Open(0);
    page->Laser().OpenComm();
    ASSERT_TRUE(page->Laser().IsCommOpening());

    class SwitchOn : public RecordingPrompts {
    public:
        int RunModal(QDialog& dialog) override {
            auto& laser = dynamic_cast<CLaserDeviceSettingDlg&>(dialog);
            laser.show();
            laser.ControlCheck()->setChecked(true);
            laser.OkButton()->click();
            EXPECT_TRUE(QTest::qWaitFor([&] { return !laser.isVisible(); }, 5000));
            return laser.result();
        }
    } switchOn;
    InstallPrompts(&switchOn);
    EXPECT_EQ(SendMessage(page.get(), WM_ACTIVE_TRIGGER, 7, 0), 0) << "only 100 opens the dialog";
    EXPECT_EQ(SendMessage(page.get(), WM_ACTIVE_TRIGGER, 100, 0), 1);
    const std::vector<unsigned char> start{0x55, 0xAA, 0x08, 0x00, 0x09, 0, 0, 0, 1, 0x00};
    const auto sent = pty.Read(1000, 500);
    ASSERT_GE(sent.size(), start.size());
    EXPECT_TRUE(std::equal(start.begin(), start.end(), sent.end() - static_cast<long>(start.size())))
        << "the page starts the laser after the dialog's OK";

    page.reset();
    const std::vector<unsigned char> stop{0x55, 0xAA, 0x08, 0x00, 0x10, 0, 0, 0, 0, 0x00};
    EXPECT_EQ(pty.Read(stop.size() + 1, 500), stop);
}
