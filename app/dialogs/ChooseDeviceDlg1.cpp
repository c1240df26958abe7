#include "ChooseDeviceDlg1.h"

#include <QGridLayout>

#include "DeviceList.h"
#include "Lexora.h"
#include "UiText.h"

namespace quenlix {

CChooseDeviceDlg1::CChooseDeviceDlg1(QWidget* parent)
    : QDialog(parent),
      list_(new QComboBox(this)),
      label_(new QLabel(Text(strMainDlg_ChooseDevice1_DeviceNo), this)),
      ok_(new QPushButton(Text(strGeneral_Sure), this)),
      cancel_(new QPushButton(Text(strGeneral_Cancel), this)) {
    setWindowTitle(Text(strMainDlg_ChooseDevice1_WindowText));
    for (const DeviceEntry& entry : deviceList) list_->addItem(FormatText(strGeneral_Device, entry.number));
    list_->setCurrentIndex(0);
    auto* grid = new QGridLayout(this);
    grid->addWidget(label_, 0, 0);
    grid->addWidget(list_, 0, 1, 1, 2);
    grid->addWidget(ok_, 1, 1);
    grid->addWidget(cancel_, 1, 2);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, [this] { OnOk(); });
    connect(cancel_, &QPushButton::clicked, this, [this] {
        chosenNumber = kCancelled;
        reject();
    });
}

void CChooseDeviceDlg1::OnOk() {
    const QString text = list_->currentText();
    if (text.isEmpty()) {
        chosenNumber = -1;
    } else {
        // The number follows the last space of "Device %d" in every language.
        bool ok = false;
        const int n = text.mid(text.lastIndexOf(' ') + 1).toInt(&ok);
        chosenNumber = ok ? n : -1;
    }
    accept();
}

}  // namespace quenlix
