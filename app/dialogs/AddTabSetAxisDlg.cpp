#include "AddTabSetAxisDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <algorithm>
#include <cmath>

#include "AxisUnitNames.h"
#include "DeviceList.h"
#include "Lexora.h"
#include "ProcessValues.h"
#include "Prompts.h"
#include "UiText.h"

namespace quenlix {
namespace {

// The excitation wavelength in whole nanometres, as the label shows it.
int WholeNanometres(double nm) { return std::isfinite(nm) ? static_cast<int>(std::clamp(nm, -1e9, 1e9)) : 0; }

}  // namespace

CAddTabSetAxisDlg::CAddTabSetAxisDlg(QWidget* parent)
    : QDialog(parent),
      deviceSource_(new QRadioButton(Text(strMainDlg_SpectrumForm_Settings_ChooseDevice), this)),
      fileSource_(new QRadioButton(Text(strMainDlg_SpectrumForm_Settings_ChooseFile), this)),
      deviceLabel_(new QLabel(Text(strMainDlg_SpectrumForm_Settings_ChooseADevice), this)),
      deviceList_(new QComboBox(this)),
      fileButton_(new QPushButton(Text(strMainDlg_SpectrumForm_Settings_ChooseAFile), this)),
      pathBox_(new QLineEdit(this)),
      xTypeLabel_(new QLabel(Text(strMainDlg_SpectrumForm_Settings_ChooseXAxis), this)),
      xTypeList_(new QComboBox(this)),
      excitation_(new QLabel(FormatText(strMainDlg_SpectrumForm_Settings_Wavelength,
                                        WholeNanometres(excitationWavelengthSetting)),
                             this)),
      sure_(new QPushButton(Text(strMainDlg_SpectrumForm_Settings_Sure), this)),
      cancel_(new QPushButton(Text(strMainDlg_SpectrumForm_Settings_Cancel), this)) {
    setWindowTitle(Text(strMainMenu_File_New_SpectrumForm));
    for (const DeviceEntry& entry : deviceList) deviceList_->addItem(FormatText(strGeneral_Device, entry.number), entry.number);
    deviceList_->setCurrentIndex(0);
    for (int code = 0; code <= 5; ++code) xTypeList_->addItem(XUnitName(code));
    xTypeList_->setCurrentIndex(0);
    pathBox_->setReadOnly(true);
    pathBox_->setMinimumWidth(280);

    auto* grid = new QGridLayout(this);
    grid->addWidget(deviceSource_, 0, 0, 1, 2);
    grid->addWidget(deviceLabel_, 1, 0);
    grid->addWidget(deviceList_, 1, 1);
    grid->addWidget(xTypeLabel_, 2, 0);
    grid->addWidget(xTypeList_, 2, 1);
    grid->addWidget(excitation_, 3, 1);
    grid->addWidget(fileSource_, 4, 0, 1, 2);
    grid->addWidget(fileButton_, 5, 0);
    grid->addWidget(pathBox_, 5, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(sure_);
    buttons->addWidget(cancel_);
    grid->addLayout(buttons, 6, 0, 1, 2);

    deviceSource_->setChecked(true);
    EnableBySource();
    sure_->setDefault(true);
    connect(deviceSource_, &QRadioButton::toggled, this, [this] { EnableBySource(); });
    connect(fileButton_, &QPushButton::clicked, this, [this] { ChooseFile(); });
    connect(sure_, &QPushButton::clicked, this, [this] { OnSure(); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void CAddTabSetAxisDlg::EnableBySource() {
    const bool device = deviceSource_->isChecked();
    deviceList_->setEnabled(device);
    xTypeList_->setEnabled(device);
    fileButton_->setEnabled(!device);
}

void CAddTabSetAxisDlg::ChooseFile() {
    const QString path = CurrentPrompts().OpenFileName(this, Text(strMainDlg_SpecRegion_SpecDis_SaveImageWindowText),
                                                       QStringLiteral("TEXT(*.txt)"));
    if (!path.isEmpty()) pathBox_->setText(path);
}

void CAddTabSetAxisDlg::OnSure() {
    accepted = true;
    source = deviceSource_->isChecked() ? 1 : 2;
    deviceIndex = deviceList_->count() == 0 ? -1 : deviceList_->currentData().toInt();
    filePath = pathBox_->text();
    xTypeCode = xTypeList_->currentIndex();
    accept();
}

}  // namespace quenlix
