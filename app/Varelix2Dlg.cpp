#include "Varelix2Dlg.h"

#include <QScreen>
#include <ctime>
#include <cwchar>

#include "DeviceList.h"
#include "Lexora.h"
#include "ManualTexts.h"
#include "MessagePayloads.h"
#include "SaveFailureMessage.h"
#include "Prompts.h"
#include "SetExcitationWavelengthDlg.h"
#include "SetLineColorDlg.h"
#include "SettingsFiles.h"
#include "ShippedFile.h"
#include "SimulatorSwitches.h"
#include "SimulatorTexts.h"
#include "UiText.h"
#include "UsbPermissionMessage.h"
#include "UsbSpectrometersDlg.h"
#include "TraceTexts.h"
#include "UsbTexts.h"
#include "usb/UsbBackend.h"

namespace quenlix {
namespace {

constexpr int kClockTimer = 1;
constexpr int kStatusHeight = 25;

struct AxisUnitCommand {
    int id;
    WPARAM axis;
    LPARAM unit;
};
constexpr AxisUnitCommand kAxisUnits[] = {
    {ID_X_NANOMETER, 0, 0}, {ID_X_MICROMETER, 0, 1}, {ID_X_PIXEL, 0, 2},     {ID_X_GHZ, 0, 3},
    {ID_X_WAVENUMBER, 0, 4}, {ID_X_RAMAN_SHIFT, 0, 5}, {ID_Y_INTENSITY, 1, 0}, {ID_Y_DECIBEL, 1, 5},
};
constexpr int kLanguageIds[4] = {ID_LANGUAGE_CHS, ID_LANGUAGE_CHT, ID_LANGUAGE_ENG, ID_LANGUAGE_JAP};

struct SimulatorCommand {
    int id;
    SimulatorSwitch which;
    const OwnTextRow* caption;
};
constexpr SimulatorCommand kSimulatorCommands[] = {
    {ID_SIMULATOR_SOURCE_ON, SimulatorSwitch::SourceOn, &simulatorMenu_SourceOn},
    {ID_SIMULATOR_SAMPLE_IN, SimulatorSwitch::SampleIn, &simulatorMenu_SampleIn},
    {ID_SIMULATOR_LASER_FIRING, SimulatorSwitch::LaserFiring, &simulatorMenu_LaserFiring},
};

}  // namespace

CVarelix2Dlg::CVarelix2Dlg()
    : versionText(QStringLiteral(QUENLIX_VERSION)), menuBar_(nullptr), mainPanel_(nullptr) {
    const std::vector<std::string> inaccessible = DiscoverDevices();
    BuildMenu();
    messageTargets.mainWindow = this;
    statusBar_ = new QWidget(this);
    const QString initialTexts[3] = {QStringLiteral("软件版本："), QStringLiteral("当前时间："),
                                     Text(strMainDlg_Status_CompanyInfo)};
    for (int i = 0; i < 3; ++i) {
        statusPanes_[i] = new QLabel(initialTexts[i], statusBar_);
        statusPanes_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    mainPanel_ = new CMainOperationDlg(this);
    setWindowTitle(Text(strMainDlg_WindowText));
    languageIndex = ReadLanguageFile(languageIndex);
    SwitchLanguage();
    if (!WriteLanguageFile(languageIndex)) TellSaveFailure(this, kLanguageFile);
    SetTimer(kClockTimer, 100);
    hotplug_ = std::make_unique<UsbHotplugWatch>(
        kestrion::CurrentUsbBackend(), [this](UsbHotplugWatch::Change change) {
            usbNote_ = change == UsbHotplugWatch::Change::Connected ? &usbNote_Connected : &usbNote_Removed;
            ShowVersionPane();
        });
    TellInaccessibleSpectrometers(this, inaccessible);  // once the window shows
    setMinimumSize(800, 600);
    setGeometry(100, 100, 800, 600);
}

CVarelix2Dlg::~CVarelix2Dlg() {
    KillTimer(kClockTimer);
    // All links begin to stop before the first is waited for.
    for (DeviceEntry& entry : deviceList) entry.link->RequestStop();
    deviceList.clear();
}

void CVarelix2Dlg::Start() {
    // Without a window manager "maximised" means nothing: fill the screen.
    if (QScreen* shown = screen()) setGeometry(shown->availableGeometry());
    showMaximized();
    SendMessage(mainPanel_->RegionPanel(), WM_OPEN_TAB, ID_NEW_SPECTRUM_CHART, 0);
}

QAction* CVarelix2Dlg::AddCommand(QMenu* menu, int id) {
    QAction* action = menu->addAction(QString());
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    actions_[id] = action;
    return action;
}

QAction* CVarelix2Dlg::MenuAction(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void CVarelix2Dlg::BuildMenu() {
    menuBar_ = new QMenuBar(this);
    fileMenu_ = menuBar_->addMenu(QString());
    newMenu_ = fileMenu_->addMenu(QString());
    for (int id : {ID_NEW_SPECTRUM_CHART, ID_NEW_SPECTRUM_FORM, ID_NEW_WAVELENGTH_CALIBRATION, ID_NEW_TIME_TRACE})
        AddCommand(newMenu_, id);
    openMenu_ = fileMenu_->addMenu(QString());
    AddCommand(openMenu_, ID_OPEN_CONTINUOUS_SPECTRUM);

    deviceMenu_ = menuBar_->addMenu(QString());
    AddCommand(deviceMenu_, ID_RESCAN_DEVICES);
    AddCommand(deviceMenu_, ID_USB_SPECTROMETERS);
    AddCommand(deviceMenu_, ID_ACTIVE_TRIGGER);

    processMenu_ = menuBar_->addMenu(QString());
    xUnitMenu_ = processMenu_->addMenu(QString());
    yUnitMenu_ = processMenu_->addMenu(QString());
    for (const AxisUnitCommand& c : kAxisUnits) AddCommand(c.axis == 0 ? xUnitMenu_ : yUnitMenu_, c.id);
    AddCommand(processMenu_, ID_RAMAN_SCREENING_MODE);

    settingsMenu_ = menuBar_->addMenu(QString());
    languageMenu_ = settingsMenu_->addMenu(QString());
    // The language names are never translated: each reads in its own language.
    const QString names[4] = {QStringLiteral("简体中文"), QStringLiteral("繁體中文"),
                              QStringLiteral("English"), QStringLiteral("日本語")};
    for (int i = 0; i < 4; ++i) {
        QAction* action = languageMenu_->addAction(names[i]);
        action->setCheckable(true);
        // Qt flips the check mark itself before the command runs; undo that
        // so the command sees the mark as the menu had it.
        connect(action, &QAction::triggered, this, [this, action, i](bool checked) {
            action->setChecked(!checked);
            OnCommand(kLanguageIds[i]);
        });
        actions_[kLanguageIds[i]] = action;
    }
    actions_[ID_LANGUAGE_JAP]->setEnabled(false);
    colorMenu_ = settingsMenu_->addMenu(QString());
    for (int id : {ID_COLOR_BACKGROUND, ID_COLOR_AXIS, ID_COLOR_GRID, ID_COLOR_TEXT, ID_COLOR_LINE})
        AddCommand(colorMenu_, id);
    colorMenu_->addSeparator();
    AddCommand(colorMenu_, ID_COLOR_RESET_BACKGROUND);
    AddCommand(settingsMenu_, ID_EXCITATION_WAVELENGTH);

    if (IsSimulating()) {
        simulatorMenu_ = menuBar_->addMenu(QString());
        for (const SimulatorCommand& c : kSimulatorCommands) AddCommand(simulatorMenu_, c.id)->setCheckable(true);
        // The laser control switches the laser too: the marks are read when the menu opens.
        connect(simulatorMenu_, &QMenu::aboutToShow, this, [this] { ShowSimulatorSwitches(); });
        ShowSimulatorSwitches();
    }

    helpMenu_ = menuBar_->addMenu(QString());
    AddCommand(helpMenu_, ID_OPERATION_MANUAL);
    RelabelMenu();
}

void CVarelix2Dlg::RelabelMenu() {
    fileMenu_->setTitle(Text(strMainMenu_File));
    deviceMenu_->setTitle(Text(strMainMenu_Device));
    processMenu_->setTitle(Text(strMainMenu_Process));
    settingsMenu_->setTitle(Text(strGeneral_Setting));
    helpMenu_->setTitle(Text(strMainMenu_Help));
    newMenu_->setTitle(Text(strMainMenu_File_New));
    openMenu_->setTitle(Text(strMainMenu_File_Open));
    xUnitMenu_->setTitle(Text(strMainMenu_Process_XAxisUnit));
    yUnitMenu_->setTitle(Text(strMainMenu_Process_YAxisUnit));
    languageMenu_->setTitle(Text(strMainMenu_Setting_Language));
    colorMenu_->setTitle(Text(strMainMenu_Setting_ImageColor));
    const std::pair<int, TextRow*> captions[] = {
        {ID_NEW_SPECTRUM_CHART, &strMainMenu_File_New_SpectrumChart},
        {ID_NEW_SPECTRUM_FORM, &strMainMenu_File_New_SpectrumForm},
        {ID_NEW_WAVELENGTH_CALIBRATION, &strMainMenu_File_New_WavelengthCalibration},
        {ID_OPEN_CONTINUOUS_SPECTRUM, &strMainMenu_File_Open_SerialSpectrum},
        {ID_RESCAN_DEVICES, &strMainMenu_Device_RescanDevices},
        {ID_ACTIVE_TRIGGER, &strMainMenu_Device_ActiveTrigger},
        {ID_X_NANOMETER, &strGeneral_Nanometer},
        {ID_X_MICROMETER, &strGeneral_Micrometer},
        {ID_X_PIXEL, &strGeneral_Pixel},
        {ID_X_GHZ, &strGeneral_GHZ},
        {ID_X_WAVENUMBER, &strGeneral_WaveNumber},
        {ID_X_RAMAN_SHIFT, &strGeneral_RamanShift},
        {ID_Y_INTENSITY, &strGeneral_Intensity},
        {ID_Y_DECIBEL, &strGeneral_Decible},
        {ID_RAMAN_SCREENING_MODE, &strMainMenu_Setting_RamanScreeningMode},
        {ID_COLOR_BACKGROUND, &strMainMenu_Setting_ImageColor_Background},
        {ID_COLOR_AXIS, &strMainMenu_Setting_ImageColor_Axis},
        {ID_COLOR_GRID, &strMainMenu_Setting_ImageColor_Grid},
        {ID_COLOR_TEXT, &strMainMenu_Setting_ImageColor_Text},
        {ID_COLOR_LINE, &strMainMenu_Setting_ImageColor_Line},
        {ID_COLOR_RESET_BACKGROUND, &strMainMenu_Setting_ImageColor_ResetBkg},
        {ID_EXCITATION_WAVELENGTH, &strMainMenu_Setting_ExcitationWavelength},
        {ID_OPERATION_MANUAL, &strMainMenu_Help_OperationManual},
    };
    for (const auto& [id, row] : captions) actions_.at(id)->setText(Text(*row));
    actions_.at(ID_USB_SPECTROMETERS)->setText(OwnText(usbMenu_Spectrometers));
    actions_.at(ID_NEW_TIME_TRACE)->setText(OwnText(traceText_Menu));
    if (simulatorMenu_ == nullptr) return;
    simulatorMenu_->setTitle(OwnText(simulatorMenu_Title));
    for (const SimulatorCommand& c : kSimulatorCommands) actions_.at(c.id)->setText(OwnText(*c.caption));
}

void CVarelix2Dlg::ShowSimulatorSwitches() {
    for (const SimulatorCommand& c : kSimulatorCommands) actions_.at(c.id)->setChecked(IsSimulatorSwitchOn(c.which));
}

void CVarelix2Dlg::SwitchLanguage() {
    QAction* chosen = actions_.at(kLanguageIds[languageIndex]);
    if (chosen->isChecked() || !chosen->isEnabled()) return;
    for (int id : kLanguageIds) actions_.at(id)->setChecked(false);
    chosen->setChecked(true);
    RelabelMenu();
    setWindowTitle(Text(strMainDlg_WindowText));
    ShowVersionPane();
    statusPanes_[2]->setText(Text(strMainDlg_Status_CompanyInfo));
    UpdateClock();
    mainPanel_->ApplyLanguage(languageIndex);
    resizeEvent(nullptr);  // the status texts changed width
}

void CVarelix2Dlg::OnCommand(int id) {
    Window* region = mainPanel_->RegionPanel();
    for (const AxisUnitCommand& c : kAxisUnits) {
        if (c.id == id) {
            SendMessage(region, WM_SET_AXIS_UNIT, c.axis, c.unit);
            return;
        }
    }
    for (const SimulatorCommand& c : kSimulatorCommands) {
        if (c.id == id && simulatorMenu_ != nullptr) {
            SetSimulatorSwitch(c.which, !IsSimulatorSwitchOn(c.which));
            ShowSimulatorSwitches();  // Qt flipped the mark already; it shows the units' state
            return;
        }
    }
    for (int i = 0; i < 4; ++i) {
        if (kLanguageIds[i] == id) {
            languageIndex = i;
            SwitchLanguage();
            if (!WriteLanguageFile(languageIndex)) TellSaveFailure(this, kLanguageFile);
            return;
        }
    }
    switch (id) {
        case ID_NEW_SPECTRUM_CHART:
        case ID_NEW_SPECTRUM_FORM:
        case ID_NEW_WAVELENGTH_CALIBRATION:
        case ID_NEW_TIME_TRACE:
        case ID_OPEN_CONTINUOUS_SPECTRUM:
            SendMessage(region, WM_OPEN_TAB, static_cast<WPARAM>(id), 0);
            break;
        case ID_RESCAN_DEVICES:
            Rescan();
            break;
        case ID_USB_SPECTROMETERS:
            ShowUsbSpectrometers();
            break;
        case ID_ACTIVE_TRIGGER:
            SendMessage(region, WM_ACTIVE_TRIGGER, 100, 0);
            break;
        case ID_COLOR_BACKGROUND:
            ChooseChartColor(chartBackgroundColor, id);
            break;
        case ID_COLOR_AXIS:
            ChooseChartColor(chartAxisColor, id);
            break;
        case ID_COLOR_GRID:
            ChooseChartColor(chartGridColor, id);
            break;
        case ID_COLOR_TEXT:
            ChooseChartColor(chartTextColor, id);
            break;
        case ID_COLOR_RESET_BACKGROUND:
            chartBackgroundColor = SystemButtonFaceColor();
            SendMessage(region, WM_CHART_COLOR_CHANGED, ID_COLOR_BACKGROUND, 0);
            break;
        case ID_OPERATION_MANUAL:
            OpenOperationManual();
            break;
        case ID_COLOR_LINE: {
            CSetLineColorDlg dialog(this);
            CurrentPrompts().RunModal(dialog);
            break;
        }
        case ID_EXCITATION_WAVELENGTH: {
            CSetExcitationWavelengthDlg dialog(this);
            CurrentPrompts().RunModal(dialog);
            break;
        }
        default:  // the Raman screening mode has no action
            break;
    }
}

void CVarelix2Dlg::OpenOperationManual() {
    const char* manual = languageIndex == 0 || languageIndex == 1 ? "Operation Manunal/Spectrometer Manual_Chs.pdf"
                                                                  : "Operation Manunal/Spectrometer Manual_Eng.pdf";
    const ShippedFileSearch search = FindShippedFile(manual, ShippedKind::Document);
    if (!search.found.empty()) {
        CurrentPrompts().OpenDocument(QString::fromStdString(search.found));
        return;
    }
    QStringList looked;
    for (const std::string& path : search.looked) looked += QString::fromStdString(path);
    const QString text = OwnText(manualText_NotFound).arg(QString::fromLatin1(manual), looked.join('\n'));
    CurrentPrompts().MessageBox(this, text, Text(strMainMenu_Help_OperationManual), Prompts::Buttons::Ok);
}

void CVarelix2Dlg::ChooseChartColor(std::uint32_t& color, int id) {
    // The chooser starts from black, not from the current colour.
    if (const auto chosen = CurrentPrompts().ChooseColor(this, 0)) {
        color = *chosen;
        SendMessage(mainPanel_->RegionPanel(), WM_CHART_COLOR_CHANGED, static_cast<WPARAM>(id), 0);
    }
}

LRESULT CVarelix2Dlg::OnMessage(unsigned msg, WPARAM, LPARAM lParam) {
    if (msg == WM_STATUS_NOTE) {
        const QString* note = LParamData<WM_STATUS_NOTE>(lParam);
        pageNote_ = note ? *note : QString();
        ShowVersionPane();
        return 1;
    }
    if (msg != WM_RESCAN_DEVICES) return 0;
    Rescan();
    return 1;
}

void CVarelix2Dlg::Rescan() {
    Window* region = mainPanel_->RegionPanel();
    SendMessage(region, WM_RESCAN_DEVICES, 0, 0);
    const std::vector<std::string> inaccessible = DiscoverDevices();
    SendMessage(region, WM_RESCAN_DEVICES, 1, 0);
    SendMessage(messageTargets.deviceInfoPage, WM_DEVICES_CHANGED, 0, 0);
    usbNote_ = nullptr;  // the note asked for this rescan
    ShowVersionPane();
    TellInaccessibleSpectrometers(this, inaccessible);
}

void CVarelix2Dlg::ShowUsbSpectrometers() {
    // Enumerated once, now: reading every device's strings is for a dialog
    // the user opened, never for a timer.
    UsbSpectrometersDlg dialog(kestrion::CurrentUsbBackend()->AllDevices(), this);
    if (CurrentPrompts().RunModal(dialog) == UsbSpectrometersDlg::kRescan) Rescan();
}

void CVarelix2Dlg::ShowVersionPane() {
    QString text = Text(strMainDlg_Status_AppVersion) + versionText;
    if (usbNote_ != nullptr)
        text += QStringLiteral("    ") +
                OwnText(*usbNote_).arg(Text(strMainMenu_Device), Text(strMainMenu_Device_RescanDevices));
    if (!pageNote_.isEmpty()) text += QStringLiteral("    ") + pageNote_;
    statusPanes_[0]->setText(text);
}

void CVarelix2Dlg::UpdateClock() {
    wchar_t time[128] = L"";
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local) ||
        std::wcsftime(time, std::size(time), strMainDlg_Status_TimeFormat[languageIndex], &local) == 0)
        time[0] = L'\0';
    statusPanes_[1]->setText(Text(strMainDlg_Status_Time) + QString::fromWCharArray(time));
}

void CVarelix2Dlg::OnTimer(int id) {
    if (id == kClockTimer) UpdateClock();
}

void CVarelix2Dlg::resizeEvent(QResizeEvent*) {
    const int menuHeight = menuBar_->sizeHint().height();
    menuBar_->setGeometry(0, 0, width(), menuHeight);
    const int statusTop = height() - kStatusHeight;
    statusBar_->setGeometry(0, statusTop, width(), kStatusHeight);
    // The clock and the contact line get at least the room their texts need
    // in this font; the version pane takes the rest.
    const int clock = std::max(230, statusPanes_[1]->sizeHint().width() + 8);
    const int contact = std::max(10, statusPanes_[2]->sizeHint().width() + 8);
    const int widths[3] = {std::max(0, width() - clock - contact), clock, contact};
    for (int i = 0, x = 0; i < 3; x += widths[i], ++i)
        statusPanes_[i]->setGeometry(x, 0, widths[i], kStatusHeight);
    mainPanel_->setGeometry(0, menuHeight, width(), std::max(0, statusTop - menuHeight));
}

}  // namespace quenlix
