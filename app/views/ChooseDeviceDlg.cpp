#include "ChooseDeviceDlg.h"

#include <QMenu>

#include "DeviceList.h"
#include "Lexora.h"
#include "MessagePayloads.h"
#include "Prompts.h"
#include "UiText.h"

namespace quenlix {
namespace {

QTreeWidgetItem* CheckableItem(const QString& text, bool ticked) {
    auto* item = new QTreeWidgetItem({text});
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
    return item;
}

bool IsTicked(const QTreeWidgetItem* item) { return item->checkState(0) == Qt::Checked; }

}  // namespace

CChooseDeviceDlg::CChooseDeviceDlg(QWidget* parent)
    : Window(parent),
      deviceTitle_(new QLabel(this)),
      deviceTree_(new QTreeWidget(this)),
      staticTitle_(new QLabel(this)),
      staticTree_(new QTreeWidget(this)) {
    for (QTreeWidget* tree : {deviceTree_, staticTree_}) {
        tree->setHeaderHidden(true);
        tree->setRootIsDecorated(false);
    }
    staticTree_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(deviceTree_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* i) { OnDeviceItemChanged(i); });
    connect(staticTree_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* i) { OnStaticItemChanged(i); });
    connect(staticTree_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QTreeWidgetItem* item = staticTree_->itemAt(at))
            OpenStaticMenu(item, staticTree_->viewport()->mapToGlobal(at));
    });
    ApplyLanguage(languageIndex);
    RefreshDevices();
}

void CChooseDeviceDlg::SetSourceTargetView(Window* view) { sourceTargetView = view; }
void CChooseDeviceDlg::SetSourceTargetPanel(Window* panel) { sourceTargetPanel = panel; }

std::vector<int> CChooseDeviceDlg::TickedDevicePositions() const {
    std::vector<int> positions;
    for (int i = 0; i < deviceTree_->topLevelItemCount(); ++i) {
        if (IsTicked(deviceTree_->topLevelItem(i))) positions.push_back(i);
    }
    return positions;
}

void CChooseDeviceDlg::SendTickedStatics() {
    // Each static item's text begins with its number.
    std::vector<int> numbers;
    for (int i = 0; i < staticTree_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = staticTree_->topLevelItem(i);
        bool ok = false;
        const int n = item->text(0).section(' ', 0, 0).toInt(&ok);
        if (IsTicked(item) && ok) numbers.push_back(n);
    }
    SendWithLParam<WM_CHOSEN_SOURCES>(sourceTargetPanel, 0, numbers);
}

void CChooseDeviceDlg::RefreshDevices() {
    {
        const QSignalBlocker quiet(deviceTree_);
        deviceTree_->clear();
        for (const DeviceEntry& entry : deviceList)
            deviceTree_->addTopLevelItem(CheckableItem(FormatText(strGeneral_Device, entry.number), false));
    }
    const std::vector<int> none;
    SendWithWParam<WM_CHOSEN_SOURCES>(sourceTargetView, none, 0);
    SendWithWParam<WM_CHOSEN_SOURCES>(sourceTargetPanel, none, 0);
}

void CChooseDeviceDlg::TickAllDevices() {
    {
        const QSignalBlocker quiet(deviceTree_);
        for (int i = 0; i < deviceTree_->topLevelItemCount(); ++i)
            deviceTree_->topLevelItem(i)->setCheckState(0, Qt::Checked);
    }
    const std::vector<int> ticked = TickedDevicePositions();
    SendWithWParam<WM_CHOSEN_SOURCES>(sourceTargetView, ticked, 0);
    SendWithWParam<WM_CHOSEN_SOURCES>(sourceTargetPanel, ticked, 0);
}

void CChooseDeviceDlg::OnDeviceItemChanged(QTreeWidgetItem* item) {
    deviceTree_->setCurrentItem(item);
    const std::vector<int> ticked = TickedDevicePositions();
    SendWithWParam<WM_CHOSEN_SOURCES>(sourceTargetView, ticked, 0);
    SendWithWParam<WM_CHOSEN_SOURCES>(sourceTargetPanel, ticked, 0);
}

void CChooseDeviceDlg::OnStaticItemChanged(QTreeWidgetItem* item) {
    staticTree_->setCurrentItem(item);
    const QString text = item->text(0);
    SendWithWParam<WM_STATIC_SPECTRUM_TOGGLED>(sourceTargetView, text, IsTicked(item) ? 1 : 0);
    SendTickedStatics();
}

void CChooseDeviceDlg::OpenStaticMenu(QTreeWidgetItem* item, const QPoint& globalPos) {
    staticTree_->setCurrentItem(item);
    menuStaticItem = item;
    QMenu menu(this);
    QAction* remove = menu.addAction(Text(strMainDlg_SpecRegion_SpecDisplay_ChooseDevice_DeleteStaticLine));
    remove->setData(ID_DELETE_STATIC_LINE);
    if (CurrentPrompts().RunMenu(menu, globalPos) == remove && menuStaticItem) {
        const QString text = menuStaticItem->text(0);
        SendWithWParam<WM_STATIC_SPECTRUM_TOGGLED>(sourceTargetView, text, 2);
        delete menuStaticItem;
    }
    menuStaticItem = nullptr;
    SendTickedStatics();
}

void CChooseDeviceDlg::AddStaticSpectrum(const QString& text) {
    {
        const QSignalBlocker quiet(staticTree_);
        staticTree_->addTopLevelItem(CheckableItem(text, true));
    }
    SendTickedStatics();
}

void CChooseDeviceDlg::ClearStaticSpectra() {
    {
        const QSignalBlocker quiet(staticTree_);
        staticTree_->clear();
    }
    SendTickedStatics();
}

LRESULT CChooseDeviceDlg::OnMessage(unsigned msg, WPARAM, LPARAM) {
    if (msg != WM_CHOSEN_SOURCES) return 0;
    std::vector<int> ticked;
    {
        const QSignalBlocker quiet(deviceTree_);
        if (QTreeWidgetItem* first = deviceTree_->topLevelItem(0)) first->setCheckState(0, Qt::Checked);
        for (int i = 0; i < deviceTree_->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = deviceTree_->topLevelItem(i);
            if (item->text(0).endsWith(QStringLiteral("(null)"))) break;
            if (IsTicked(item)) ticked.push_back(i);
        }
    }
    SendWithWParam<WM_CHOSEN_SOURCES>(sourceTargetPanel, ticked, 0);
    return 1;
}

void CChooseDeviceDlg::ApplyLanguage(int) {
    deviceTitle_->setText(Text(strMainDlg_SpecRegion_SpecDisplay_ChooseDevice_ChooseDevice));
    staticTitle_->setText(Text(strMainDlg_SpecRegion_SpecDisplay_ChooseDevice_ChooseFile));
    const QSignalBlocker quiet(deviceTree_);
    while (deviceTree_->topLevelItemCount() > static_cast<int>(deviceList.size()))
        delete deviceTree_->topLevelItem(deviceTree_->topLevelItemCount() - 1);
    for (int i = 0; i < deviceTree_->topLevelItemCount(); ++i)
        deviceTree_->topLevelItem(i)->setText(0, FormatText(strGeneral_Device, deviceList[i].number));
}

void CChooseDeviceDlg::resizeEvent(QResizeEvent*) {
    constexpr int kColumn = 195;
    constexpr int kTitle = 20;
    const int treeHeight = std::max(0, height() - kTitle - 4);
    deviceTitle_->setGeometry(5, 0, kColumn, kTitle);
    deviceTree_->setGeometry(5, kTitle + 2, kColumn, treeHeight);
    staticTitle_->setGeometry(205, 0, kColumn, kTitle);
    staticTree_->setGeometry(205, kTitle + 2, kColumn, treeHeight);
}

}  // namespace quenlix
