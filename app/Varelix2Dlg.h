#pragma once

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <map>
#include <memory>

#include "MainOperationDlg.h"
#include "MenuCommands.h"
#include "UsbHotplugWatch.h"
#include "Window.h"
#include "UsbTexts.h"

namespace quenlix {

// The main window: menu bar, main operation panel and a status bar with the
// version, a clock and the contact line. Discovers the devices when made and
// on every rescan, and tells the user of listed spectrometers this user may
// not open. Where the USB backend tells of hotplug, a spectrometer connected
// or removed puts a note beside the version until the next rescan; rescanning
// stays the user's decision. A page's note (WM_STATUS_NOTE: a progress, say)
// follows it. With simulated spectrometers a Simulator menu sets their scene's
// switches. Lives as long as the program runs.
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
    // Opens the manual of the UI language with the desktop's viewer, or says
    // where it was looked for.
    void OpenOperationManual();
    void ShowSimulatorSwitches();
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
    QMenu* simulatorMenu_ = nullptr;  // only when the spectrometers are simulated
    CMainOperationDlg* mainPanel_;
    QWidget* statusBar_;
    QLabel* statusPanes_[3];
    std::unique_ptr<UsbHotplugWatch> hotplug_;  // goes before the panes it writes to
    const OwnTextRow* usbNote_ = nullptr;  // the hotplug note shown, if any
    QString pageNote_;  // a page's note (WM_STATUS_NOTE), if any
};

}  // namespace quenlix
