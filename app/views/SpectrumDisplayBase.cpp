#include "SpectrumDisplayBase.h"

#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>

#include "Lexora.h"
#include "LineColorList.h"
#include "MenuCommands.h"
#include "MessagePayloads.h"
#include "MouseModeCursors.h"
#include "Prompts.h"
#include "SetCoordsRegionDlg.h"
#include "SetSuperpositionCountDlg.h"
#include "UiText.h"

namespace quenlix {
namespace {
constexpr int kRepaintTimer = 1;
constexpr int kAcquisitionTimer = 2;
constexpr int kRepaintMs = 50;
constexpr int kDefaultPeakThreshold = 250;
constexpr int kReticule = 4;
constexpr int kNoMode = 5;
}  // namespace

CSpectrumDisplayBase::CSpectrumDisplayBase(QWidget* parent)
    : CReceiveData(parent),
      focusEdit(new QLineEdit(this)),
      toolbarDlg(new CDislpayToolbarDlg(this)),
      seriesStatus(new QLabel(this)),
      canvas_(new ChartCanvas(chart, *this, this)) {
    // Only there to take the keyboard away from the name box: out of sight.
    focusEdit->setGeometry(-20, -20, 10, 10);
    toolbarDlg->hide();
    seriesStatus->hide();
    setMouseTracking(true);
}

CSpectrumDisplayBase::~CSpectrumDisplayBase() = default;

void CSpectrumDisplayBase::CreateToolbar() {
    toolbarDlg->Create();
    toolbarDlg->show();
}

void CSpectrumDisplayBase::InitChart() { InitChartFor(deviceList.empty() ? nullptr : &deviceList.front()); }

void CSpectrumDisplayBase::InitChartFor(const DeviceEntry* device) {
    double xMin = 200, xMax = 1100, yMin = 0, yMax = 16500;
    if (device) {
        AddDeviceBySerial(device->serialNumber);
        chart.SetXAxisType(xTypeCode);
        xMin = device->link->GetMinX();
        xMax = device->link->GetMaxX();
        yMin = device->link->GetMinY();
        yMax = device->link->GetMaxY();
        activeDevice = device->number;
        chart.SetActiveSpectrum(activeDevice, L"");
    }
    chart.SetAxisRegion(xMin, xMax, yMin, yMax);
    chart.SetLineColorList(lineColorList);
    chart.SetBkgColor(SystemButtonFaceColor());
    chart.SetDisplayPeakX(true);
    // Told while the chart paints: the message waits until painting is over.
    chart.SetImageSavedListener([this](const std::wstring& path, bool written) {
        if (!written) QTimer::singleShot(0, this, [this, path] { TellNotWritten(path); });
    });
}

void CSpectrumDisplayBase::Redraw() { canvas_->update(); }

void CSpectrumDisplayBase::CreatePeakPanel() {
    peakPanel = new CSetPeakParamsDlg(this);
    peakPanel->SetTarget(this);
    peakPanel->hide();
    peakThreshold = kDefaultPeakThreshold;
    chart.SetIntensityRegion(kDefaultPeakThreshold);
    peakPanel->SetThreshold(kDefaultPeakThreshold);
}

QPoint CSpectrumDisplayBase::WindowToChart(QPoint at) const { return at - chartOrigin; }

void CSpectrumDisplayBase::OpenContinuous() {}
void CSpectrumDisplayBase::CancelContinuous() {}
void CSpectrumDisplayBase::Run() { acquisitionCommand = 0; }
void CSpectrumDisplayBase::Stop() { acquisitionCommand = 1; }
void CSpectrumDisplayBase::RunOnce() { acquisitionCommand = 2; }

void CSpectrumDisplayBase::FitWindow() {
    const ViewDevice* device = FindRecord(activeDevice);
    if (!device) return;
    double xMin, xMax, yMin, yMax;
    device->preprocessor->GetXRegion(xMin, xMax);
    device->preprocessor->GetYRegion(yMin, yMax);
    chart.SetAxisRegion(xMin, xMax, yMin, yMax);
}

void CSpectrumDisplayBase::FitImage() {
    const ViewDevice* device = FindRecord(activeDevice);
    if (!device) return;
    double xMin, xMax, yMin, yMax;
    device->preprocessor->GetXRegion(xMin, xMax);
    device->preprocessor->GetNowYRegion(yMin, yMax);
    chart.SetAxisRegion(xMin, xMax, yMin, yMax);
}

void CSpectrumDisplayBase::FitVertical() {
    const ViewDevice* device = FindRecord(activeDevice);
    if (!device) return;
    double xMin, xMax, yMin, yMax;
    chart.GetXRegion(xMin, xMax);
    device->preprocessor->GetNowYRegion(yMin, yMax);
    chart.SetAxisRegion(xMin, xMax, yMin, yMax);
}

void CSpectrumDisplayBase::StoreDark() {
    for (const auto& device : deviceRecords) device->preprocessor->SaveDarkSpectrum();
}

void CSpectrumDisplayBase::Superposition() {
    CSetSuperpositionCountDlg dialog(viewSuperposition, this);
    CurrentPrompts().RunModal(dialog);
    viewSuperposition = dialog.superpositionCount;
    for (const auto& device : deviceRecords) device->preprocessor->SetSuperpositionCount(viewSuperposition);
}

void CSpectrumDisplayBase::StoreReference() {
    for (const auto& device : deviceRecords) device->preprocessor->SaveRefSpectrum();
}

void CSpectrumDisplayBase::ShowRaw() {
    if (deviceRecords.empty()) return;
    for (const auto& device : deviceRecords) device->preprocessor->SetYAxisType(0);
    chart.SetYAxisType(0);
    double yMin = 0, yMax = 65535;
    if (const ViewDevice* active = FindRecord(activeDevice)) active->preprocessor->GetYRegion(yMin, yMax);
    SetYRegionKeepingX(yMin, yMax);
}

int CSpectrumDisplayBase::SubtractDark() {
    return ChangeYType(1, false, deviceRecords.empty() ? nullptr : FindRecord(activeDevice));
}

int CSpectrumDisplayBase::StoreDarkAndSubtract() {
    StoreDark();
    return SubtractDark();
}

void CSpectrumDisplayBase::ExtraCommand() {}

void CSpectrumDisplayBase::OnAxesReloaded(const ViewDevice& device) {
    // The display window may have changed size: the line is made anew.
    chart.DeleteDeviceLine(device.number);
    chart.AddDeviceLine(device.number, device.pointCount, device.xBuffer.data(), device.serialNumber);
    if (device.number == activeDevice && activeFileName.empty()) chart.SetActiveSpectrum(activeDevice, activeFileName);
}

void CSpectrumDisplayBase::MarkingCommand(int command) {
    switch (command) {
        case ID_ADD_MARKING:
            chart.AddMarking();
            break;
        case ID_ADD_MARKINGS_AT_PEAKS:
            chart.AddMakringsAtPeaks();
            break;
        case ID_DELETE_ALL_MARKINGS:
            chart.DeleteAllMarkings();
            break;
        default:
            break;
    }
}

LRESULT CSpectrumDisplayBase::OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_TOOLBAR_COMMAND:
            return ToolbarCommand(static_cast<int>(wParam), lParam != 0);
        case WM_SET_AXIS_REGION:
            if (const auto* region = LParamData<WM_SET_AXIS_REGION>(lParam))
                chart.SetAxisRegion((*region)[0], (*region)[1], (*region)[2], (*region)[3]);
            return 1;
        case WM_SET_AXIS_UNIT:
            return wParam == 0 ? SetXUnit(static_cast<int>(lParam)) : SetYUnit(static_cast<int>(lParam));
        case WM_CHART_COLOR_CHANGED:
            switch (wParam) {
                case ID_COLOR_BACKGROUND:
                    chart.SetBkgColor(chartBackgroundColor);
                    break;
                case ID_COLOR_AXIS:
                    chart.SetAxisColor(chartAxisColor);
                    break;
                case ID_COLOR_GRID:
                    chart.SetGridColor(chartGridColor);
                    break;
                case ID_COLOR_TEXT:
                    chart.SetWordColor(chartTextColor);
                    break;
                default:
                    break;
            }
            return 1;
        case WM_PEAK_SETTING:
            return PeakSetting(static_cast<int>(wParam), lParam);
        default:
            return CReceiveData::OnMessage(msg, wParam, lParam);
    }
}

LRESULT CSpectrumDisplayBase::ToolbarCommand(int command, bool pressed) {
    switch (command) {
        case ID_BTN_DEV_RUN: Run(); return 1;
        case ID_BTN_DEV_STOP: Stop(); return 1;
        case ID_BTN_DEV_RUN_ONCE: RunOnce(); return 1;
        case ID_BTN_FIT_WINDOW: FitWindow(); return 1;
        case ID_BTN_FIT_IMAGE: FitImage(); return 1;
        case ID_BTN_FIT_VERTICAL: FitVertical(); return 1;
        case ID_BTN_ZOOM_IN: MouseModeCommand(0, pressed); return 1;
        case ID_BTN_ZOOM_OUT: MouseModeCommand(1, pressed); return 1;
        case ID_BTN_CHOOSE_ZOOM: MouseModeCommand(2, pressed); return 1;
        case ID_BTN_MOVE_IMAGE: MouseModeCommand(3, pressed); return 1;
        case ID_BTN_RETICULE: MouseModeCommand(kReticule, pressed); return 1;
        case ID_BTN_STORE_DARK: StoreDark(); return 1;
        case ID_BTN_STORE_REFERENCE: StoreReference(); return 1;
        case ID_BTN_SHOW_RAW: ShowRaw(); return 1;
        case ID_BTN_SUBTRACT_DARK: return SubtractDark();
        case ID_BTN_STORE_DARK_AND_SUBTRACT: return StoreDarkAndSubtract();
        case ID_BTN_ABSORBANCE:
        case ID_BTN_TRANSMISSIVITY:
        case ID_BTN_REFLECTIVITY: {
            const int type = command == ID_BTN_ABSORBANCE ? 4 : command == ID_BTN_TRANSMISSIVITY ? 2 : 3;
            return ChangeYType(type, true, deviceRecords.empty() ? nullptr : deviceRecords.back().get());
        }
        case ID_BTN_SET_COORDS: OpenCoordsDialog(); return 1;
        case ID_BTN_AUTO_PEAK: SetPeakSearch(pressed); return 1;
        case ID_BTN_ADD_ACTIVE_SPECTRUM: AddActiveSpectrum(); return 1;
        case ID_BTN_LOAD_SPECTRUM: LoadSpectrum(); return 1;
        case ID_BTN_DELETE_SPECTRA: DeleteSpectra(); return 1;
        case ID_BTN_SAVE_SPECTRUM: SaveSpectrumCommand(); return 1;
        case ID_BTN_SAVE_BASE_DELETED: SaveBaseDeletedCommand(); return 1;
        case ID_BTN_SAVE_IMAGE: SaveImageCommand(); return 1;
        case ID_BTN_SAVE_SERIES:
            if (pressed) return StartSeries();
            series.Stop();
            AfterSeries();
            return 1;
        case ID_BTN_END_OPENING: CancelContinuous(); return 1;
        case ID_BTN_OPEN_CONTINUOUS: OpenContinuous(); return 1;
        case ID_BTN_SUPERPOSITION: Superposition(); return 1;
        case ID_BTN_EXTRA: ExtraCommand(); return 1;
        default: return 1;
    }
}

void CSpectrumDisplayBase::MouseModeCommand(int mode, bool pressed) {
    if (pressed) {
        requestedMode = mode;
        if (mode == kReticule) {
            chart.SetMouseStatus(kReticule);
            SetModeCursor(kNoMode);
        }
        return;
    }
    requestedMode = kNoMode;
    SetModeCursor(kNoMode);
    if (mode == kReticule) {
        chart.SetMouseStatus(kNoMode);
        // The chart is back in no mode, so the mode applied to it is too:
        // the next mode chosen reaches the chart at the next pointer move
        // even where the pointer never left the chart in between.
        appliedMode = kNoMode;
    }
}

bool CSpectrumDisplayBase::EveryDeviceHas(bool dark, bool reference) const {
    for (const auto& device : deviceRecords) {
        if (dark && !device->preprocessor->IsDarkSaved()) return false;
        if (reference && !device->preprocessor->IsRefSaved()) return false;
    }
    return true;
}

int CSpectrumDisplayBase::ChangeYType(int type, bool needsReference, const ViewDevice* rangeFrom) {
    // Without a device there is nothing to convert.
    if (deviceRecords.empty()) return 0;
    if (!EveryDeviceHas(true, needsReference)) {
        TextRow& message = needsReference ? strMainDlg_SpecRegion_SpecDis_WrongMsgNoDarkRef
                                          : strMainDlg_SpecRegion_SpecDis_WrongMsgNoDark;
        CurrentPrompts().MessageBox(this, Text(message), QString(), Prompts::Buttons::Ok);
        return 0;
    }
    for (const auto& device : deviceRecords) device->preprocessor->SetYAxisType(type);
    chart.SetYAxisType(type);
    double yMin = 0, yMax = type == 4 ? 10 : type == 1 ? 65535 : 100;
    if (rangeFrom) rangeFrom->preprocessor->GetYRegion(yMin, yMax);
    SetYRegionKeepingX(yMin, yMax);
    return 1;
}

int CSpectrumDisplayBase::SetYUnit(int type) {
    if (type < 0 || type > 5 || deviceRecords.empty()) return 0;
    if (!EveryDeviceHas(true, false)) {
        CurrentPrompts().MessageBox(this, Text(strMainDlg_SpecRegion_SpecDis_WrongMsgNoDarkRef), QString(),
                                    Prompts::Buttons::Ok);
        return 0;
    }
    for (const auto& device : deviceRecords) device->preprocessor->SetYAxisType(type);
    chart.SetYAxisType(type);
    double yMin, yMax;
    deviceRecords.front()->preprocessor->GetYRegion(yMin, yMax);
    SetYRegionKeepingX(yMin, yMax);
    yTypeCode = type;
    return 1;
}

int CSpectrumDisplayBase::SetXUnit(int type) {
    if (type < 0 || type > 5) return 0;
    for (const auto& device : deviceRecords) {
        device->preprocessor->SetXAxisType(type);
        device->preprocessor->GetXData(device->xBuffer.data());
        chart.SetDeviceLineXData(device->number, device->xBuffer.data());
    }
    double xMin = 200, xMax = 1100, yMin, yMax;
    if (!deviceRecords.empty()) deviceRecords.front()->preprocessor->GetXRegion(xMin, xMax);
    chart.GetYRegion(yMin, yMax);
    chart.SetXAxisType(type);
    chart.SetAxisRegion(xMin, xMax, yMin, yMax);
    chart.DeleteAllAxixRegion();
    xTypeCode = type;
    return 1;
}

void CSpectrumDisplayBase::SetYRegionKeepingX(double yMin, double yMax) {
    double xMin, xMax;
    chart.GetXRegion(xMin, xMax);
    chart.SetAxisRegion(xMin, xMax, yMin, yMax);
    chart.DeleteAllAxixRegion();
}

void CSpectrumDisplayBase::OpenCoordsDialog() {
    requestedMode = kNoMode;
    SetModeCursor(kNoMode);
    double xMin, xMax, yMin, yMax;
    chart.GetXRegion(xMin, xMax);
    chart.GetYRegion(yMin, yMax);
    CSetCoordsRegionDlg dialog(this);
    dialog.SetRegion(xMin, xMax, yMin, yMax);
    dialog.SetAxisTypes(xTypeCode, yTypeCode);
    dialog.SetTarget(this);
    CurrentPrompts().RunModal(dialog);
}

void CSpectrumDisplayBase::SetPeakSearch(bool on) {
    chart.SetAotuSearchPeak(on);
    autoPeakOn = on;
    if (peakPanel && on && !peakPanelPlaced_) {
        // First shown at the chart's top right, off the toolbar and the axis.
        peakPanel->move(chartOrigin.x() + std::max(0, chartSize.width() - peakPanel->width() - 8),
                        chartOrigin.y() + 8);
        peakPanelPlaced_ = true;
    }
    if (peakPanel) peakPanel->setVisible(on && viewShown);
    if (on) chart.SetDisplayLibs(false);
}

LRESULT CSpectrumDisplayBase::PeakSetting(int item, LPARAM value) {
    const bool on = value > 0;
    switch (item) {
        case 0: chart.SetDisplayPeakX(on); break;
        case 1: chart.SetDisplayPeakHeight(on); break;
        case 2: chart.SetDisplayPeakFwhm(on); break;
        case 3:
            peakThreshold = static_cast<int>(value);
            chart.SetIntensityRegion(static_cast<double>(value));
            break;
        case 4: chart.SetPeakInfoAngle(static_cast<int>(value)); break;
        case 5: chart.SetDisplayPeakVerticalLine(on); break;
        case 6: chart.SetDisplayPeakDeleteBase(on); break;
        case 7: chart.SetDisplayPeakOriginalSpectrum(on); break;
        default: break;
    }
    return 1;
}

void CSpectrumDisplayBase::OnTimer(int id) {
    if (id == kRepaintTimer) {
        Redraw();
    } else if (id == kAcquisitionTimer) {
        PullFrames();
        SeriesStep();
    }
}

void CSpectrumDisplayBase::showEvent(QShowEvent*) {
    viewShown = true;
    SetTimer(kRepaintTimer, kRepaintMs);
    SetTimer(kAcquisitionTimer, AcquisitionInterval());
    SetModeCursor(requestedMode);
    if (peakPanel) peakPanel->setVisible(autoPeakOn);
    focusEdit->setFocus();
}

void CSpectrumDisplayBase::hideEvent(QHideEvent*) {
    viewShown = false;
    KillTimer(kRepaintTimer);
    // A running series goes on saving behind another page or a minimised window.
    if (!keepProcessing && !series.On()) KillTimer(kAcquisitionTimer);
    SetModeCursor(kNoMode);
    if (peakPanel) peakPanel->hide();
}

void CSpectrumDisplayBase::AfterSeries() {
    ShowSeriesProgress();
    if (!viewShown && !keepProcessing) KillTimer(kAcquisitionTimer);
}

void CSpectrumDisplayBase::PlaceChart() {
    canvas_->setGeometry(QRect(chartOrigin, chartSize));
    chart.SetPlotaraRect(chartSize.width(), chartSize.height());
}

ViewDevice* CSpectrumDisplayBase::FindRecord(int number) const {
    for (const auto& device : deviceRecords)
        if (device->number == number) return device.get();
    return nullptr;
}

void CSpectrumDisplayBase::SetModeCursor(int mode) {
    if (mode == kReticule) return;  // the reticule keeps the pointer it has
    canvas_->setCursor(MouseModeCursor(mode));
}

void CSpectrumDisplayBase::LeaveChart() {
    SetModeCursor(kNoMode);
    appliedMode = kNoMode;
    if (requestedMode != kReticule) chart.SetMouseStatus(kNoMode);
}

void CSpectrumDisplayBase::ChartMouseMove(QPoint at) {
    if (requestedMode == kNoMode) return;
    const bool inside = at.x() >= chartOrigin.x() && at.x() <= chartOrigin.x() + chartSize.width() &&
                        at.y() >= chartOrigin.y() && at.y() <= chartOrigin.y() + chartSize.height();
    if (appliedMode != requestedMode && inside) {
        SetModeCursor(requestedMode);
        appliedMode = requestedMode;
        chart.SetMouseStatus(appliedMode);
    }
    if (appliedMode != kNoMode && !inside) LeaveChart();
    const QPoint c = WindowToChart(at);
    chart.MouseMove(c.x(), c.y());
}

void CSpectrumDisplayBase::ChartMouseLeave() {
    if (appliedMode != kNoMode) LeaveChart();
}

void CSpectrumDisplayBase::ChartMouseWheel(QPoint at, int delta) {
    const QPoint c = WindowToChart(at);
    chart.MouseWheel(c.x(), c.y(), delta > 0 ? 1 : -1);
}

void CSpectrumDisplayBase::ChartLeftDown(QPoint at) {
    if (appliedMode == 3) {
        canvas_->setCursor(MoveImageHeldCursor());
        dragging = true;
    }
    if (appliedMode == kNoMode) return;
    const QPoint c = WindowToChart(at);
    chart.LMouseDown(c.x(), c.y());
}

void CSpectrumDisplayBase::ChartLeftUp(QPoint at) {
    focusEdit->setFocus();
    if (appliedMode == 3) {
        canvas_->setCursor(MouseModeCursor(3));
        dragging = false;
    }
    if (appliedMode != kNoMode) {
        const QPoint c = WindowToChart(at);
        chart.LMouseUp(c.x(), c.y());
    }
    AfterLeftUp();
}

void CSpectrumDisplayBase::ChartContextMenu(QPoint globalAt) {
    QMenu menu(this);
    menu.addAction(Text(strMainDlg_SpectrumRegion_WavelengthCalibration_AddMarking))->setData(ID_ADD_MARKING);
    menu.addAction(Text(strMainDlg_SpectrumRegion_WavelengthCalibration_AddMarkingOnPeaks))
        ->setData(ID_ADD_MARKINGS_AT_PEAKS);
    menu.addSeparator();
    menu.addAction(Text(strMainDlg_SpectrumRegion_WavelengthCalibration_DeleteAllMarkings))
        ->setData(ID_DELETE_ALL_MARKINGS);
    if (QAction* chosen = CurrentPrompts().RunMenu(menu, globalAt)) MarkingCommand(chosen->data().toInt());
}

void CSpectrumDisplayBase::mouseMoveEvent(QMouseEvent* event) { ChartMouseMove(event->position().toPoint()); }

void CSpectrumDisplayBase::leaveEvent(QEvent*) { ChartMouseLeave(); }

}  // namespace quenlix
