#include "MainOperationDlg.h"

namespace quenlix {

CMainOperationDlg::CMainOperationDlg(QWidget* parent)
    : Window(parent),
      sourcePanel_(new CDataSourceInfoDlg(this, this)),
      regionPanel_(new CSpectrumRegionDlg(this)) {}

void CMainOperationDlg::ApplyLanguage(int index) {
    sourcePanel_->ApplyLanguage(index);
    regionPanel_->ApplyLanguage(index);
}

LRESULT CMainOperationDlg::OnMessage(unsigned msg, WPARAM wParam, LPARAM) {
    if (msg != WM_EXPAND_SOURCE_PANEL) return 0;
    sourceExpanded_ = wParam != 0;
    resizeEvent(nullptr);
    return 1;
}

void CMainOperationDlg::resizeEvent(QResizeEvent*) {
    const int sourceWidth = std::min(sourceExpanded_ ? 230 : 22, width());
    sourcePanel_->setGeometry(0, 0, sourceWidth, height());
    regionPanel_->setGeometry(sourceWidth, 0, width() - sourceWidth, height());
}

}  // namespace quenlix
