#pragma once

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "DeviceInfoDlg.h"
#include "Window.h"

namespace quenlix {

// The collapsible panel on the left of the main window: a title and one tab
// holding the device information page.
class CDataSourceInfoDlg : public Window {
public:
    // mainPanel receives WM_EXPAND_SOURCE_PANEL when the panel collapses or expands.
    explicit CDataSourceInfoDlg(Window* mainPanel, QWidget* parent = nullptr);

    void ApplyLanguage(int index);
    bool IsExpanded() const { return expanded; }
    QPushButton* CollapseButton() const { return collapseButton_; }
    CDeviceInfoDlg* DevicePage() const { return devicePage_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Toggle();

    Window* mainPanel_;
    bool expanded = true;
    QLabel* title_;
    QTabWidget* tabs_;
    CDeviceInfoDlg* devicePage_;
    QPushButton* collapseButton_;
};

}  // namespace quenlix
