#include "SpectrumDisplayDlg.h"

#include <QResizeEvent>
#include <algorithm>

#include "LaserDeviceSettingDlg.h"
#include "Lexora.h"
#include "MessagePayloads.h"
#include "Prompts.h"
#include "SimulatorSwitches.h"
#include "UiText.h"

namespace quenlix {
namespace {
constexpr int kToolbarHeight = 50;
constexpr int kAcquisitionTimer = 2;
// An averaging block counts as complete above this percentage.
constexpr double kBlockComplete = 99.999999999;
}  // namespace

CSpectrumDisplayDlg::CSpectrumDisplayDlg(QWidget* parent)
    : CSpectrumDisplayBase(parent),
      infoTabs(new QTabWidget(this)),
      infoToggle(new QPushButton(this)),
      infoPanel(new CSpectrumInfoDlg(infoTabs)),
      chooser(new CChooseDeviceDlg(infoTabs)) {
    triggerMode = 0;
    toolbarDlg->SetLayout(kLayoutLiveView);
    CreateToolbar();

    infoTabs->addTab(infoPanel, QStringLiteral("曲线信息"));
    infoTabs->addTab(chooser, QStringLiteral("选择设备"));
    infoPanel->SetTargetView(this);
    infoPanel->SetChooser(chooser);
    chooser->SetSourceTargetView(this);
    chooser->SetSourceTargetPanel(infoPanel);
    connect(infoToggle, &QPushButton::clicked, this, [this] { ToggleInfo(); });
    SendMessage(chooser, WM_CHOSEN_SOURCES, 0, 0);

    InitChart();
    CreatePeakPanel();
    // A new page shows every device at once, the first one active.
    chooser->TickAllDevices();
    // The toggle sits on the row of the tab titles.
    infoToggle->raise();
}

CSpectrumDisplayDlg::~CSpectrumDisplayDlg() {
    // A pulsed laser must not go on firing once no page can stop it.
    if (laserOn) SwitchLaser(false);
    RemoveAllDevices();
}

LRESULT CSpectrumDisplayDlg::OpenLaserSettings() {
    CLaserDeviceSettingDlg dialog(laser, this);
    if (CurrentPrompts().RunModal(dialog) != QDialog::Accepted) return 1;
    laserOn = dialog.settings.BOpenLaserControl;
    SwitchLaser(laserOn);
    return 1;
}

void CSpectrumDisplayDlg::SwitchLaser(bool on) {
    if (on) {
        laser.StartLaser();
    } else {
        laser.StopLaser();
    }
    // The simulated plasma needs a laser that was told to fire through its port.
    SetSimulatorSwitch(SimulatorSwitch::LaserFiring, on && laser.IsCommOpening());
}

LRESULT CSpectrumDisplayDlg::OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CHOSEN_SOURCES: {
            const std::vector<int>* positions = WParamData<WM_CHOSEN_SOURCES>(wParam);
            return BindChosen(positions ? *positions : std::vector<int>{});
        }
        case WM_SELECT_ACTIVE_SPECTRUM:
            return SelectActive(wParam, lParam);
        case WM_MOVE_CURSOR_LINE:
            return MoveCursorLine(wParam, lParam);
        case WM_STATIC_SPECTRUM_TOGGLED: {
            const QString* name = WParamData<WM_STATIC_SPECTRUM_TOGGLED>(wParam);
            if (!name) return 0;
            if (lParam == 2) {
                chart.DeleteFileLine(name->toStdWString());
            } else {
                chart.SetFileLineDisplay(name->toStdWString(), lParam == 1);
            }
            return 1;
        }
        case WM_SET_AXIS_UNIT: {
            const LRESULT result = CSpectrumDisplayBase::OnMessage(msg, wParam, lParam);
            if (wParam == 0 && result) infoPanel->SetXUnit(static_cast<int>(lParam));
            return result;
        }
        case WM_ACTIVE_TRIGGER:
            return wParam == 100 ? OpenLaserSettings() : 0;
        default:
            return CSpectrumDisplayBase::OnMessage(msg, wParam, lParam);
    }
}

LRESULT CSpectrumDisplayDlg::BindChosen(const std::vector<int>& positions) {
    RemoveAllDevices();
    chart.DeleteAllDeviceLine();
    // Bound in the order of the device list, whatever the order received.
    std::vector<int> wanted = positions;
    std::sort(wanted.begin(), wanted.end());
    std::size_t next = 0;
    for (int position = 0; position < static_cast<int>(deviceList.size()) && next < wanted.size(); ++position) {
        while (next < wanted.size() && wanted[next] < position) ++next;
        if (next < wanted.size() && wanted[next] == position) {
            AddDeviceBySerial(deviceList[position].serialNumber);
            ++next;
        }
    }
    return 1;
}

void CSpectrumDisplayDlg::OnDeviceAdded(int number, int pointCount, const double* xBuffer,
                                        const std::wstring& serialNumber) {
    chart.AddDeviceLine(number, pointCount, xBuffer, serialNumber);
    saturatedPoints_.reserve(static_cast<std::size_t>(pointCount / 2 + 1));
}

void CSpectrumDisplayDlg::OnNewSpectrum(int number, const double* yBuffer) {
    chart.SetDeviceLineYData(number, yBuffer);
    if (!deviceRecords.empty() && deviceRecords.front()->number == number) firstDeviceDelivered_ = true;
}

void CSpectrumDisplayDlg::AfterPull() {
    ShowSaturation();
    const bool blockCompleted = firstDeviceDelivered_;
    firstDeviceDelivered_ = false;
    if (deviceRecords.empty()) {
        SendMessage(infoPanel, WM_AVERAGE_PROGRESS, 0, 0);
        return;
    }
    const double percent = deviceRecords.front()->preprocessor->GetPercentOfAvgCount();
    SendMessage(infoPanel, WM_AVERAGE_PROGRESS, static_cast<WPARAM>(static_cast<int>(percent)), 0);
    // The progress figure reads 100 % one frame before a block is complete
    // (and always with no averaging, new frame or not): "scan once" ends on
    // the step that completed the first device's block instead.
    if (!blockCompleted) return;
    double y;
    if (chart.GetVerticalLineYData(y)) SendWithLParam<WM_CURSOR_VALUE>(infoPanel, 2, y);
    if (acquisitionCommand == 2) acquisitionCommand = 1;
}

void CSpectrumDisplayDlg::ShowSaturation() {
    int activePixels = 0;
    for (const auto& record : deviceRecords) {
        const SaturationMarks& marks = record->frameSaturation;
        saturatedPoints_.clear();
        for (const PixelStretch& s : marks.Stretches()) saturatedPoints_.push_back({s.first, s.last});
        chart.SetDeviceLineSaturation(record->number, saturatedPoints_.data(),
                                      static_cast<int>(saturatedPoints_.size()));
        if (record->number == activeDevice) activePixels = marks.PixelCount();
    }
    infoPanel->ShowSaturated(activePixels);
}

void CSpectrumDisplayDlg::OnIntegralTimeApplied() {
    if (HasTimer(kAcquisitionTimer)) SetTimer(kAcquisitionTimer, AcquisitionInterval());
}

void CSpectrumDisplayDlg::BeforeRescan() {
    CSpectrumDisplayBase::BeforeRescan();
    chart.DeleteAllDeviceLine();
}

void CSpectrumDisplayDlg::AfterRescan() {
    // The chooser comes back unticked and unbinds every device here.
    chooser->RefreshDevices();
    CSpectrumDisplayBase::AfterRescan();
}

LRESULT CSpectrumDisplayDlg::SelectActive(WPARAM wParam, LPARAM lParam) {
    const auto device = static_cast<std::intptr_t>(wParam);
    if (device >= 0) {
        activeDevice = static_cast<int>(device);
        activeFileName.clear();
    } else {
        activeDevice = -1;
        activeFileName.clear();
        const QString* number = lParam == -1 ? nullptr : LParamData<WM_SELECT_ACTIVE_SPECTRUM>(lParam);
        QTreeWidget* statics = chooser->StaticTree();
        for (int i = 0; number && i < statics->topLevelItemCount(); ++i) {
            const QString text = statics->topLevelItem(i)->text(0);
            if (text.section(QLatin1Char(' '), 0, 0) == *number) {
                activeFileName = text.toStdWString();
                break;
            }
        }
    }
    chart.SetActiveSpectrum(activeDevice, activeFileName);
    return 1;
}

LRESULT CSpectrumDisplayDlg::MoveCursorLine(WPARAM wParam, LPARAM lParam) {
    const auto step = static_cast<std::intptr_t>(wParam);
    if (step == 0) {
        const double* x = LParamData<WM_MOVE_CURSOR_LINE>(lParam);
        if (!x) return 0;
        chart.SetVerticalLineXData(*x);
    } else {
        chart.SetNearbyXData(step > 0 ? 1 : -1);
    }
    ReadOut();
    return 1;
}

void CSpectrumDisplayDlg::ReadOut() {
    double x, y;
    if (chart.GetVerticalLineXData(x)) SendWithLParam<WM_CURSOR_VALUE>(infoPanel, 1, x);
    if (chart.GetVerticalLineYData(y)) SendWithLParam<WM_CURSOR_VALUE>(infoPanel, 2, y);
}

void CSpectrumDisplayDlg::AfterLeftUp() {
    if (appliedMode == 4) ReadOut();
}

void CSpectrumDisplayDlg::Run() {
    CSpectrumDisplayBase::Run();
    if (laserOn) SwitchLaser(true);
}

void CSpectrumDisplayDlg::Stop() {
    CSpectrumDisplayBase::Stop();
    if (laserOn) SwitchLaser(false);
}

void CSpectrumDisplayDlg::AddActiveSpectrum() {
    const ViewDevice* device = activeDevice < 0 ? nullptr : FindRecord(activeDevice);
    if (!device) return;
    // The number first, so the chooser and the information panel can read it.
    const std::wstring name = std::to_wstring(overlayCounter) + L" Line";
    ++overlayCounter;
    std::vector<double> x(device->pointCount), y(device->pointCount);
    device->preprocessor->GetXData(x.data());
    device->preprocessor->GetYData(y.data());
    chart.AddFileLine(100, device->pointCount, x.data(), y.data(), name);
    chooser->AddStaticSpectrum(QString::fromStdWString(name));
}

void CSpectrumDisplayDlg::LoadSpectrum() {
    const std::wstring name = OverlayChosenFile();
    if (!name.empty()) chooser->AddStaticSpectrum(QString::fromStdWString(name));
}

void CSpectrumDisplayDlg::DeleteSpectra() {
    const auto answer = CurrentPrompts().MessageBox(
        this, Text(strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnDeleteSpec), QString(),
        Prompts::Buttons::OkCancel);
    if (answer != Prompts::Answer::Ok) return;
    chart.DeleteAllFileLine();
    chooser->ClearStaticSpectra();
    overlayCounter = 0;
}

void CSpectrumDisplayDlg::ApplyLanguage(int index) {
    nameLabel->setText(Text(strMainDlg_SpecRegion_SpecTab_SetTabName));
    infoToggle->setText(Text(infoShown ? strMainDlg_SpecRegion_SpecDis_HideSpecInfoTab
                                       : strMainDlg_SpecRegion_SpecDis_DisSpecInfoTab));
    infoTabs->setTabText(0, Text(strMainDlg_SpecRegion_SpecDis_CheckInfo));
    infoTabs->setTabText(1, Text(strMainDlg_SpecRegion_SpecDis_SelectDataSource));
    infoPanel->ApplyLanguage(index);
    chooser->ApplyLanguage(index);
    if (peakPanel) peakPanel->ApplyLanguage(index);
    chart.SetUsingLanguage(index);
}

void CSpectrumDisplayDlg::ToggleInfo() {
    infoShown = !infoShown;
    infoToggle->setText(Text(infoShown ? strMainDlg_SpecRegion_SpecDis_HideSpecInfoTab
                                       : strMainDlg_SpecRegion_SpecDis_DisSpecInfoTab));
    infoTabs->setVisible(infoShown);
    Layout();
}

void CSpectrumDisplayDlg::resizeEvent(QResizeEvent*) { Layout(); }

void CSpectrumDisplayDlg::Layout() {
    const int w = width();
    const int h = height();
    const int top = PlaceTopRow();
    seriesStatus->setGeometry(8, 0, std::max(0, nameLabel->x() - 16), top);
    toolbarDlg->setGeometry(0, top, w, kToolbarHeight);
    infoTabs->setGeometry(0, h - infoTabHeight, w, infoTabHeight);
    const QSize toggle = infoToggle->sizeHint();
    infoToggle->setGeometry(w - toggle.width(), infoShown ? h - infoTabHeight : h - toggle.height(),
                            toggle.width(), toggle.height());
    chartOrigin = QPoint(0, top + kToolbarHeight);
    chartSize = QSize(w, std::max(0, h - top - kToolbarHeight - (infoShown ? infoTabHeight : 0)));
    PlaceChart();
}

}  // namespace quenlix
