#include "DeviceInfoDlg.h"

#include <QHeaderView>

#include "DeviceList.h"
#include "Lexora.h"
#include "UiText.h"

namespace quenlix {

CDeviceInfoDlg::CDeviceInfoDlg(QWidget* parent) : Window(parent), tree_(new QTreeWidget(this)) {
    tree_->setHeaderHidden(true);
    // Long serial numbers scroll instead of being cut.
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree_->header()->setStretchLastSection(false);
    Rebuild();
    messageTargets.deviceInfoPage = this;
}

void CDeviceInfoDlg::ApplyLanguage(int) { Rebuild(); }

LRESULT CDeviceInfoDlg::OnMessage(unsigned msg, WPARAM, LPARAM) {
    if (msg != WM_DEVICES_CHANGED) return 0;
    Rebuild();
    return 1;
}

void CDeviceInfoDlg::Rebuild() {
    tree_->clear();
    if (deviceList.empty()) {
        tree_->addTopLevelItem(
            new QTreeWidgetItem({Text(strMainDlg_DataSourceInfo_DeviceInfo_DeviceNoDevice)}));
        return;
    }
    auto* root = new QTreeWidgetItem({Text(strMainDlg_DataSourceInfo_DeviceInfo_DeviceList)});
    tree_->addTopLevelItem(root);
    for (const DeviceEntry& entry : deviceList) {
        auto* device = new QTreeWidgetItem(root, {FormatText(strGeneral_Device, entry.number)});
        const auto row = [device](const QString& text) { new QTreeWidgetItem(device, {text}); };
        row(FormatText(strMainDlg_DataSourceInfo_DeviceInfo_DeviceType, entry.deviceName.c_str()));
        row(FormatText(strMainDlg_DataSourceInfo_DeviceInfo_DeviceVersion, entry.versionInfo.c_str()));
        row(FormatText(strMainDlg_DataSourceInfo_DeviceInfo_WavelengthRegion, entry.deviceMinX,
                       entry.deviceMaxX));
        row(FormatText(strMainDlg_DataSourceInfo_DeviceInfo_SeriesNumber, entry.serialNumber.c_str()));
        device->setExpanded(true);
    }
    root->setExpanded(true);
}

void CDeviceInfoDlg::resizeEvent(QResizeEvent*) { tree_->setGeometry(rect()); }

}  // namespace quenlix
