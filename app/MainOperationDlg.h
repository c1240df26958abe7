#pragma once

#include "DataSourceInfoDlg.h"
#include "SpectrumRegionDlg.h"
#include "Window.h"

namespace quenlix {

// The main window's only child: the data-source panel on the left (230 px,
// 22 px while collapsed) and the spectrum region panel in the rest.
class CMainOperationDlg : public Window {
public:
    explicit CMainOperationDlg(QWidget* parent = nullptr);

    void ApplyLanguage(int index);
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;

    CDataSourceInfoDlg* SourcePanel() const { return sourcePanel_; }
    CSpectrumRegionDlg* RegionPanel() const { return regionPanel_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CDataSourceInfoDlg* sourcePanel_;
    CSpectrumRegionDlg* regionPanel_;
    bool sourceExpanded_ = true;
};

}  // namespace quenlix
