#include "SpectrumDisplayDlg.h"

#include <QKeyEvent>
#include <QResizeEvent>
#include <algorithm>

#include "AutoIntegrationTexts.h"
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
        case WM_TOOLBAR_COMMAND:
            if (wParam != ID_BTN_AUTO_INTEGRATION) return CSpectrumDisplayBase::OnMessage(msg, wParam, lParam);
            if (lParam != 0) return StartAutoIntegration();
            CancelAutoIntegration();
            return 1;
        default:
            return CSpectrumDisplayBase::OnMessage(msg, wParam, lParam);
    }
}

LRESULT CSpectrumDisplayDlg::BindChosen(const std::vector<int>& positions) {
    CancelAutoIntegration();
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

LRESULT CSpectrumDisplayDlg::StartAutoIntegration() {
    const ViewDevice* device = activeDevice < 0 ? nullptr : FindRecord(activeDevice);
    // Frames must come on their own, each exposed for the time set.
    if (!device || acquisitionCommand != 0 || triggerMode != 0) {
        SendWithLParam<WM_STATUS_NOTE>(messageTargets.mainWindow, 0, OwnText(autoIntegration_Refused));
        return 0;
    }
    autoIntegration_.emplace(AutoIntegration::DeviceOf(*device->link));
    autoDevice_ = device->number;
    autoIntegration_->Begin(device->link->GetIntegralTimeMS(), device->link->GetFrameNo());
    ShowAutoIntegration();
    return 1;
}

void CSpectrumDisplayDlg::CancelAutoIntegration() {
    if (!autoIntegration_ || !autoIntegration_->IsRunning()) return;
    ApplyAutoTime(autoIntegration_->Cancel());
    ShowAutoIntegration();
    toolbarDlg->ReleaseAutoIntegrationButton();
}

void CSpectrumDisplayDlg::ApplyAutoTime(double ms) {
    applyingAutoTime_ = true;
    SendWithLParam<WM_PAGE_PARAMETER>(this, 0, ms);
    applyingAutoTime_ = false;
    SendWithLParam<WM_INTEGRATION_TIME_SHOWN>(messageTargets.parameterStrip, 0, integralTimeMS);
}

int CSpectrumDisplayDlg::ApplyParameter(int kind, LPARAM value) {
    // A time or trigger set by the user meanwhile ends the run where the user put it.
    if (!applyingAutoTime_ && (kind == 0 || kind == 3) && autoIntegration_ && autoIntegration_->IsRunning()) {
        autoIntegration_->Cancel();
        SendWithLParam<WM_STATUS_NOTE>(messageTargets.mainWindow, 0, QString());
        toolbarDlg->ReleaseAutoIntegrationButton();
    }
    return CSpectrumDisplayBase::ApplyParameter(kind, value);
}

void CSpectrumDisplayDlg::OnFrameTaken(const ViewDevice& device) {
    if (!autoIntegration_ || !autoIntegration_->IsRunning() || device.number != autoDevice_) return;
    const std::optional<double> next = autoIntegration_->Take(device.frame.data(), device.lastFrameNo);
    if (next) {
        ApplyAutoTime(*next);
        // Frames published from here on were exposed wholly with the new time.
        autoIntegration_->Applied(device.link->GetIntegralTimeMS(), device.link->GetFrameNo());
    }
    if (!next && autoIntegration_->IsRunning()) return;  // a frame from before the change
    ShowAutoIntegration();
    if (!autoIntegration_->IsRunning()) toolbarDlg->ReleaseAutoIntegrationButton();
}

void CSpectrumDisplayDlg::ShowAutoIntegration() {
    const AutoIntegration& run = *autoIntegration_;
    const auto number = [](double value) { return QString::number(value, 'f', 1); };
    const QString ms = number(run.TimeMs());
    const QString peak = number(100 * run.PeakFraction());
    QString note;
    switch (run.Result()) {
        case AutoIntegration::Outcome::Running:
            note = OwnText(autoIntegration_Step)
                       .arg(QString::number(run.Step() + 1), QString::number(AutoIntegration::kMaxSteps), ms);
            break;
        case AutoIntegration::Outcome::Reached:
            note = OwnText(autoIntegration_Reached).arg(ms, peak);
            break;
        case AutoIntegration::Outcome::StillSaturated:
            note = OwnText(autoIntegration_StillSaturated).arg(ms);
            break;
        case AutoIntegration::Outcome::TooBright:
            note = OwnText(autoIntegration_TooBright).arg(ms, peak);
            break;
        case AutoIntegration::Outcome::TooDark:
            note = OwnText(autoIntegration_TooDark).arg(ms, peak);
            break;
        case AutoIntegration::Outcome::NotReached:
            note = OwnText(autoIntegration_NotReached).arg(QString::number(run.Step()), ms, peak);
            break;
        default:
            note = OwnText(autoIntegration_Cancelled).arg(number(run.PreviousMs()));
            break;
    }
    SendWithLParam<WM_STATUS_NOTE>(messageTargets.mainWindow, 0, note);
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
    CancelAutoIntegration();
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
    CancelAutoIntegration();
    CSpectrumDisplayBase::Stop();
    if (laserOn) SwitchLaser(false);
}

void CSpectrumDisplayDlg::RunOnce() {
    CancelAutoIntegration();
    CSpectrumDisplayBase::RunOnce();
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

void CSpectrumDisplayDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && autoIntegration_ && autoIntegration_->IsRunning()) {
        CancelAutoIntegration();
        return;
    }
    CSpectrumDisplayBase::keyPressEvent(event);
}

// A hidden page stops taking frames: the run would wait for none.
void CSpectrumDisplayDlg::hideEvent(QHideEvent* event) {
    CancelAutoIntegration();
    CSpectrumDisplayBase::hideEvent(event);
}

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
