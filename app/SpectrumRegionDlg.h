#pragma once

#include <QTabBar>
#include <memory>
#include <vector>

#include "DeviceParamsSettingDlg.h"
#include "ReceiveData.h"
#include "Window.h"

namespace quenlix {

// Menu commands that open a page, also the kinds of the pages.
inline constexpr int ID_NEW_SPECTRUM_CHART = 32793;
inline constexpr int ID_NEW_SPECTRUM_FORM = 32794;
inline constexpr int ID_NEW_WAVELENGTH_CALIBRATION = 32920;
inline constexpr int ID_OPEN_CONTINUOUS_SPECTRUM = 32955;

// One open tab of the region panel.
struct TabRecord {
    int id = 0;     // the tab counter when the tab was opened; never reused
    int kind = 0;   // the command that opened it
    QString title;  // as made at opening, in that moment's language
    std::unique_ptr<CReceiveData> page;
    Window* target = nullptr;  // where the page's messages go
};

// The right part of the main window: the parameter strip on top and one tab
// per open page below. Routes the main window's commands to the pages.
class CSpectrumRegionDlg : public Window {
public:
    explicit CSpectrumRegionDlg(QWidget* parent = nullptr);
    ~CSpectrumRegionDlg() override;

    void ApplyLanguage(int index);
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;

    CDeviceParamsSettingDlg* Strip() const { return strip_; }
    QTabBar* Tabs() const { return tabBar_; }
    const std::vector<TabRecord>& Records() const { return records_; }
    // The page of the selected tab, or none.
    CReceiveData* SelectedPage() const;

protected:
    // Makes the page a command opens; none until that kind of page exists.
    virtual std::unique_ptr<CReceiveData> CreatePage(int kind, QWidget* parent);
    void resizeEvent(QResizeEvent* event) override;

private:
    LRESULT OpenTab(int kind);
    void CloseTab(int id);
    void ShowOnly(int index);
    void PlacePage(QWidget* page) const;
    Window* SelectedTarget() const;

    CDeviceParamsSettingDlg* strip_;
    QWidget* tabControl_;
    QTabBar* tabBar_;
    std::vector<TabRecord> records_;
    int tabCounter = 0;
};

}  // namespace quenlix
