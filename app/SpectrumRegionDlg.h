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
inline constexpr int ID_NEW_TIME_TRACE = 33020;

// What a page command makes: the page with its tab title, or no page.
struct NewPage {
    std::unique_ptr<CReceiveData> page;
    QString title;      // in the language of the moment, numbered by the tab counter
    LRESULT result = 0;  // WM_OPEN_TAB's answer
};

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
    // The one place that knows the page kinds: asks what a kind needs to
    // know before it opens, then makes its title and its page (no page for
    // a kind whose page does not exist yet, or when the question was
    // cancelled).
    virtual NewPage CreatePage(int kind, QWidget* parent);
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
