#include "UsbSpectrometersDlg.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "Prompts.h"
#include "ReplaceFile.h"
#include "SettingsPath.h"
#include "UdevRule.h"
#include "UsbTexts.h"
#include "usb/UsbDeviceList.h"

namespace quenlix {
namespace {

kestrion::UsbId PairOf(const kestrion::UsbDeviceInfo& device) { return {device.vendor, device.product}; }

void AddOnce(std::vector<kestrion::UsbId>& ids, kestrion::UsbId id) {
    if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
}

}  // namespace

UsbSpectrometersDlg::UsbSpectrometersDlg(std::vector<kestrion::UsbDeviceInfo> devices, QWidget* parent)
    : QDialog(parent), devices_(std::move(devices)) {
    setWindowTitle(OwnText(usbDlg_Title));
    const QString listFile = QString::fromStdString(SettingsPath(kestrion::kUsbDeviceListFile));
    auto* intro = new QLabel(OwnText(usbDlg_Intro).arg(listFile), this);
    intro->setWordWrap(true);
    tree_ = new QTreeWidget(this);
    tree_->setColumnCount(kColumns);
    tree_->setHeaderLabels({OwnText(usbDlg_ColumnPair), OwnText(usbDlg_ColumnManufacturer),
                            OwnText(usbDlg_ColumnProduct), OwnText(usbDlg_ColumnBus),
                            OwnText(usbDlg_ColumnAddress), OwnText(usbDlg_ColumnListed)});
    tree_->setRootIsDecorated(false);
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* ruleHeading = new QLabel(OwnText(usbDlg_RuleHeading).arg(QLatin1String(kUdevRulesFile)), this);
    ruleHeading->setWordWrap(true);
    rules_ = new QPlainTextEdit(this);
    rules_->setReadOnly(true);
    rules_->setLineWrapMode(QPlainTextEdit::NoWrap);
    rules_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    // In the order they are used, whatever the desktop's button order.
    save_ = new QPushButton(OwnText(usbDlg_Save), this);
    saveAndRescan_ = new QPushButton(OwnText(usbDlg_SaveAndRescan), this);
    close_ = new QPushButton(OwnText(usbDlg_Close), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {save_, saveAndRescan_, close_}) buttons->addWidget(button);
    connect(save_, &QPushButton::clicked, this, [this] { Save(); });
    connect(saveAndRescan_, &QPushButton::clicked, this, [this] {
        if (Save()) done(kRescan);
    });
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(tree_, 3);
    layout->addWidget(ruleHeading);
    layout->addWidget(rules_, 2);
    layout->addLayout(buttons);

    FillTree();
    ShowRules();
    connect(tree_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) { OnTicked(item); });
    resize(860, 520);
}

void UsbSpectrometersDlg::FillTree() {
    if (devices_.empty()) {
        auto* none = new QTreeWidgetItem(tree_, {OwnText(usbDlg_NoDevices)});
        none->setFlags(Qt::NoItemFlags);
        return;
    }
    for (const kestrion::UsbDeviceInfo& device : devices_) {
        auto* item = new QTreeWidgetItem(tree_);
        item->setText(kPair, QString::fromStdString(kestrion::FormatUsbId(PairOf(device))));
        item->setText(kManufacturer, QString::fromStdString(device.manufacturer));
        item->setText(kProduct, QString::fromStdString(device.productName));
        item->setText(kBus, QString::number(device.bus));
        item->setText(kAddress, QString::number(device.address));
        item->setText(kListed, device.listed ? OwnText(usbDlg_Yes) : QString());
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(kPair, device.listed ? Qt::Checked : Qt::Unchecked);
    }
}

bool UsbSpectrometersDlg::Ticked(size_t row) const {
    return tree_->topLevelItem(static_cast<int>(row))->checkState(kPair) == Qt::Checked;
}

void UsbSpectrometersDlg::OnTicked(QTreeWidgetItem* item) {
    const size_t changed = static_cast<size_t>(tree_->indexOfTopLevelItem(item));
    if (changed >= devices_.size()) return;
    const Qt::CheckState state = item->checkState(kPair);
    // The list holds pairs, so every device of the pair follows.
    const QSignalBlocker quiet(tree_);
    for (size_t row = 0; row < devices_.size(); ++row) {
        if (PairOf(devices_[row]) == PairOf(devices_[changed]))
            tree_->topLevelItem(static_cast<int>(row))->setCheckState(kPair, state);
    }
    ShowRules();
}

void UsbSpectrometersDlg::ShowRules() {
    std::vector<kestrion::UsbId> ticked;
    for (size_t row = 0; row < devices_.size(); ++row) {
        if (Ticked(row)) AddOnce(ticked, PairOf(devices_[row]));
    }
    if (ticked.empty()) {
        rules_->setPlainText(OwnText(usbDlg_RuleNone));
        return;
    }
    QString text;
    for (kestrion::UsbId id : ticked) text += UdevRuleLine(id.vendor, id.product) + QLatin1Char('\n');
    text += QLatin1Char('\n') + UdevInstallCommands() + QStringLiteral("\n\n") + OwnText(usbDlg_Replug);
    rules_->setPlainText(text);
}

bool UsbSpectrometersDlg::Save() {
    std::vector<kestrion::UsbId> add;
    std::vector<kestrion::UsbId> remove;
    for (size_t row = 0; row < devices_.size(); ++row) {
        if (Ticked(row) && !devices_[row].listed) AddOnce(add, PairOf(devices_[row]));
        if (!Ticked(row) && devices_[row].listed) AddOnce(remove, PairOf(devices_[row]));
    }
    if (add.empty() && remove.empty()) return true;
    // A file that cannot be read whole is not replaced by a list without it.
    const std::optional<std::string> text = kestrion::ReadUsbDeviceListText();
    if (!text || !WriteFileReplacing(SettingsPathForWrite(kestrion::kUsbDeviceListFile),
                                     kestrion::EditUsbDeviceList(*text, add, remove))) {
        const QString listFile = QString::fromStdString(SettingsPath(kestrion::kUsbDeviceListFile));
        CurrentPrompts().MessageBox(this, OwnText(usbDlg_SaveFailed).arg(listFile), OwnText(usbDlg_Title),
                                    Prompts::Buttons::Ok);
        return false;
    }
    const QSignalBlocker quiet(tree_);
    for (size_t row = 0; row < devices_.size(); ++row) {
        devices_[row].listed = Ticked(row);
        tree_->topLevelItem(static_cast<int>(row))
            ->setText(kListed, devices_[row].listed ? OwnText(usbDlg_Yes) : QString());
    }
    return true;
}

}  // namespace quenlix
