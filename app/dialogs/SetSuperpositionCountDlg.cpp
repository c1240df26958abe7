#include "SetSuperpositionCountDlg.h"

#include <QGridLayout>
#include <cstdio>

#include "Lexora.h"
#include "UiText.h"

namespace quenlix {

CSetSuperpositionCountDlg::CSetSuperpositionCountDlg(int count, QWidget* parent)
    : QDialog(parent),
      superpositionCount(count),
      box_(new QLineEdit(this)),
      label_(new QLabel(Text(strMainDlg_SpectrumSuperpositionCount_SpectrumSuperposition), this)),
      ok_(new QPushButton(Text(strGeneral_Sure), this)),
      cancel_(new QPushButton(Text(strGeneral_Cancel), this)) {
    setWindowTitle(Text(strMainDlg_SpectrumSuperpositionCount_WindowText));
    auto* grid = new QGridLayout(this);
    grid->addWidget(label_, 0, 0);
    grid->addWidget(box_, 0, 1, 1, 2);
    grid->addWidget(ok_, 1, 1);
    grid->addWidget(cancel_, 1, 2);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, [this] {
        int n = 0;
        if (std::sscanf(box_->text().toUtf8().constData(), "%d", &n) == 1 && n > 0) superpositionCount = n;
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    box_->setText(QString::number(superpositionCount));
}

}  // namespace quenlix
