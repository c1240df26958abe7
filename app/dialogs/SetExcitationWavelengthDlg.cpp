#include "SetExcitationWavelengthDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include "Lexora.h"
#include "NumberText.h"
#include "ProcessValues.h"
#include "Prompts.h"
#include "UiText.h"

namespace quenlix {

CSetExcitationWavelengthDlg::CSetExcitationWavelengthDlg(QWidget* parent)
    : QDialog(parent),
      label_(new QLabel(Text(strMainDlg_ExcitationWavelength_SetExcitationWavelength), this)),
      box_(new QLineEdit(PrintedNumber("%.2lf", excitationWavelengthSetting), this)),
      unit_(new QLabel(QStringLiteral("(nm)"), this)),
      modify_(new QPushButton(Text(strMainDlg_ExcitationWavelength_Ok), this)),
      close_(new QPushButton(Text(strMainDlg_ExcitationWavelength_Close), this)) {
    setWindowTitle(Text(strMainDlg_ExcitationWavelength_WindowText));
    auto* grid = new QGridLayout(this);
    grid->addWidget(label_, 0, 0);
    grid->addWidget(box_, 0, 1);
    grid->addWidget(unit_, 0, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(modify_);
    buttons->addWidget(close_);
    grid->addLayout(buttons, 1, 0, 1, 3);
    setMinimumWidth(320);  // room for the caption in the title bar
    modify_->setDefault(true);
    connect(modify_, &QPushButton::clicked, this, [this] { OnModify(); });
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
}

void CSetExcitationWavelengthDlg::OnModify() {
    // No excitation line lies at or below 0 nm, and the shift needs a finite one.
    const std::optional<double> typed = ScanFiniteNumber(box_->text());
    if (!typed || *typed <= 0) {
        CurrentPrompts().MessageBox(this, Text(strGeneral_InputWrong), Text(strGeneral_MsgboxWrong),
                                    Prompts::Buttons::Ok);
        return;
    }
    excitationWavelengthSetting = *typed;
    accept();
}

}  // namespace quenlix
