#include "SetStandardWavelengthDlg.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "Lexora.h"
#include "Prompts.h"
#include "StandardWavelengths.h"
#include "UiText.h"

namespace quenlix {

CSetStandardWavelengthDlg::CSetStandardWavelengthDlg(QWidget* parent)
    : QDialog(parent),
      editor_(new QPlainTextEdit(this)),
      save_(new QPushButton(Text(strMainDlg_SpectrumRegion_SetStandardWavelength_Save), this)),
      close_(new QPushButton(Text(strMainDlg_SpectrumRegion_SetStandardWavelength_Close), this)) {
    setWindowTitle(Text(strMainDlg_SpectrumRegion_SetStandardWavelength_WindowText));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(editor_, 1);
    for (TextRow* row : {&strMainDlg_SpectrumRegion_SetStandardWavelength_Comment0,
                         &strMainDlg_SpectrumRegion_SetStandardWavelength_Comment1,
                         &strMainDlg_SpectrumRegion_SetStandardWavelength_Example})
        layout->addWidget(new QLabel(Text(*row), this));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save_);
    buttons->addWidget(close_);
    layout->addLayout(buttons);
    save_->setDefault(true);
    resize(420, 320);

    editor_->setPlainText(ReadStandardWavelengthText());
    connect(save_, &QPushButton::clicked, this, [this] { Save(); });
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
}

void CSetStandardWavelengthDlg::Save() {
    const bool saved = WriteStandardWavelengthText(editor_->toPlainText());
    CurrentPrompts().MessageBox(this,
                                Text(saved ? strMainDlg_SpectrumRegion_SetStandardWavelength_SaveOk
                                           : strMainDlg_SpectrumRegion_SetStandardWavelength_SaveNotOk),
                                QString(), Prompts::Buttons::Ok);
}

}  // namespace quenlix
