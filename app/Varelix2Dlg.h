#pragma once

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <map>
#include <memory>

#include "MainOperationDlg.h"
#include "UsbHotplugWatch.h"
#include "Window.h"
#include "UsbTexts.h"

namespace quenlix {

// Menu commands of the main window (the page commands are in SpectrumRegionDlg.h).
inline constexpr int ID_RESCAN_DEVICES = 32889;
inline constexpr int ID_USB_SPECTROMETERS = 32990;
inline constexpr int ID_ACTIVE_TRIGGER = 32971;
inline constexpr int ID_X_NANOMETER = 32860;
inline constexpr int ID_X_MICROMETER = 32861;
inline constexpr int ID_X_PIXEL = 32862;
inline constexpr int ID_X_GHZ = 32863;
inline constexpr int ID_X_WAVENUMBER = 32865;
inline constexpr int ID_X_RAMAN_SHIFT = 32866;
inline constexpr int ID_Y_INTENSITY = 32869;
inline constexpr int ID_Y_DECIBEL = 32871;
inline constexpr int ID_RAMAN_SCREENING_MODE = 32878;
inline constexpr int ID_LANGUAGE_CHS = 32785;
inline constexpr int ID_LANGUAGE_CHT = 32786;
inline constexpr int ID_LANGUAGE_ENG = 32787;
inline constexpr int ID_LANGUAGE_JAP = 32834;
inline constexpr int ID_COLOR_BACKGROUND = 32851;
inline constexpr int ID_COLOR_AXIS = 32852;
inline constexpr int ID_COLOR_GRID = 32853;
inline constexpr int ID_COLOR_TEXT = 32854;
inline constexpr int ID_COLOR_LINE = 32855;
inline constexpr int ID_COLOR_RESET_BACKGROUND = 32902;
inline constexpr int ID_EXCITATION_WAVELENGTH = 32874;
inline constexpr int ID_OPERATION_MANUAL = 32946;

// The main window: menu bar, main operation panel and a status bar with the
// version, a clock and the contact line. Discovers the devices when made and
// on every rescan, and tells the user of listed spectrometers this user may
// not open. Where the USB backend tells of hotplug, a spectrometer connected
// or removed puts a note beside the version until the next rescan; rescanning
// stays the user's decision. Lives as long as the program runs.
class CVarelix2Dlg : public Window {
public:
    // Discovers the devices, builds the window, chooses and applies the
    // language and starts the clock. The window is not shown yet.
    CVarelix2Dlg();
    // Closes every device.
    ~CVarelix2Dlg() override;

    // Shows the window maximised with one live chart page.
    void Start();
    void OnCommand(int id);
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;

    QAction* MenuAction(int id) const;
    QMenuBar* MenuBar() const { return menuBar_; }
    CMainOperationDlg* MainPanel() const { return mainPanel_; }
    QLabel* StatusPane(int i) const { return statusPanes_[i]; }
    const QString& VersionText() const { return versionText; }

protected:
    void OnTimer(int id) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildMenu();
    QAction* AddCommand(QMenu* menu, int id);
    void RelabelMenu();
    void SwitchLanguage();
    void Rescan();
    void ShowUsbSpectrometers();
    void ShowVersionPane();
    void ChooseChartColor(std::uint32_t& color, int id);
    void UpdateClock();

    QString versionText;
    QMenuBar* menuBar_;
    std::map<int, QAction*> actions_;
    // Popups relabelled by position, as the menu template is laid out.
    QMenu* fileMenu_;
    QMenu* newMenu_;
    QMenu* openMenu_;
    QMenu* deviceMenu_;
    QMenu* processMenu_;
    QMenu* xUnitMenu_;
    QMenu* yUnitMenu_;
    QMenu* settingsMenu_;
    QMenu* languageMenu_;
    QMenu* colorMenu_;
    QMenu* helpMenu_;
    CMainOperationDlg* mainPanel_;
    QWidget* statusBar_;
    QLabel* statusPanes_[3];
    std::unique_ptr<UsbHotplugWatch> hotplug_;  // goes before the panes it writes to
    const UsbTextRow* usbNote_ = nullptr;  // the hotplug note shown, if any
};

}  // namespace quenlix
