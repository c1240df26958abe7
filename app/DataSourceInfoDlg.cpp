#include "DataSourceInfoDlg.h"

#include "Lexora.h"
#include "UiText.h"

namespace quenlix {

CDataSourceInfoDlg::CDataSourceInfoDlg(Window* mainPanel, QWidget* parent)
    : Window(parent),
      mainPanel_(mainPanel),
      title_(new QLabel(this)),
      tabs_(new QTabWidget(this)),
      devicePage_(new CDeviceInfoDlg),
      collapseButton_(new QPushButton(QStringLiteral("<<"), this)) {
    tabs_->addTab(devicePage_, QStringLiteral("设备信息"));
    connect(collapseButton_, &QPushButton::clicked, this, [this] { Toggle(); });
    ApplyLanguage(languageIndex);
}

void CDataSourceInfoDlg::ApplyLanguage(int index) {
    title_->setText(Text(strMainDlg_DataSourceInfo_DataSource));
    tabs_->setTabText(0, Text(strMainDlg_DataSourceInfo_DeviceInfo));
    devicePage_->ApplyLanguage(index);
}

void CDataSourceInfoDlg::Toggle() {
    expanded = !expanded;
    collapseButton_->setText(expanded ? QStringLiteral("<<") : QStringLiteral(">>"));
    title_->setVisible(expanded);
    tabs_->setVisible(expanded);
    resizeEvent(nullptr);
    SendMessage(mainPanel_, WM_EXPAND_SOURCE_PANEL, expanded ? 1 : 0, 0);
}

void CDataSourceInfoDlg::resizeEvent(QResizeEvent*) {
    constexpr int kButton = 22;
    collapseButton_->setGeometry(expanded ? width() - kButton : 0, 0, kButton, kButton);
    title_->setGeometry(4, 0, std::max(0, width() - kButton - 8), kButton);
    tabs_->setGeometry(0, kButton + 2, width(), std::max(0, height() - kButton - 2));
}

}  // namespace quenlix
