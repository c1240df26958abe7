#include "OpenContinuousSettingDlg.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <cmath>
#include <limits>
#include <optional>

#include "Lexora.h"
#include "NumberText.h"
#include "Prompts.h"
#include "UiText.h"

namespace quenlix {
namespace {
constexpr int kArrowStepMs = 100;
constexpr double kLongestMs = std::numeric_limits<int>::max();
}  // namespace

COpenContinuousSettingDlg::COpenContinuousSettingDlg(int intervalMs, QWidget* parent)
    : QDialog(parent),
      intervalMs_(intervalMs),
      intervalLabel_(new QLabel(Text(strMainDlg_OpenContinuousSpectrumSettingDlg_IntervalTime), this)),
      intervalBox_(new QLineEdit(this)),
      intervalArrows_(new UpDownArrows(this, [this](int step) { StepInterval(step); })),
      unitBox_(new QComboBox(this)),
      dirLabel_(new QLabel(Text(strMainDlg_OpenContinuousSpectrumSettingDlg_SpectrumDir), this)),
      dirField_(new QLineEdit(this)),
      chooseDir_(new QPushButton(Text(strMainDlg_OpenContinuousSpectrumSettingDlg_ChooseDir), this)),
      ok_(new QPushButton(Text(strGeneral_Sure), this)),
      cancel_(new QPushButton(Text(strGeneral_Cancel), this)) {
    setWindowTitle(Text(strMainDlg_OpenContinuousSpectrumSettingDlg_WindowText));
    // Unit symbols read the same in every language.
    unitBox_->addItems({QStringLiteral("ms"), QStringLiteral("s")});
    intervalBox_->setFixedWidth(90);
    intervalBox_->installEventFilter(this);
    intervalArrows_->setFixedSize(16, intervalBox_->sizeHint().height());
    dirField_->setReadOnly(true);
    dirField_->setMinimumWidth(300);

    auto* grid = new QGridLayout;
    grid->addWidget(intervalLabel_, 0, 0);
    auto* interval = new QHBoxLayout;
    interval->setSpacing(0);
    interval->addWidget(intervalBox_);
    interval->addWidget(intervalArrows_);
    interval->addSpacing(6);
    interval->addWidget(unitBox_);
    interval->addStretch(1);
    grid->addLayout(interval, 0, 1);
    grid->addWidget(dirLabel_, 1, 0);
    grid->addWidget(dirField_, 1, 1);
    grid->addWidget(chooseDir_, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addLayout(buttons);

    // No default button: Enter clicks nothing.
    for (QPushButton* button : {chooseDir_, ok_, cancel_}) button->setAutoDefault(false);
    connect(unitBox_, &QComboBox::currentIndexChanged, this, [this] { ShowInterval(); });
    connect(intervalBox_, &QLineEdit::returnPressed, this, [this] { TakeInterval(); });
    connect(chooseDir_, &QPushButton::clicked, this, [this] { OnChooseDir(); });
    connect(ok_, &QPushButton::clicked, this, [this] { OnOk(); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    ShowInterval();
}

void COpenContinuousSettingDlg::TakeInterval() {
    const std::optional<double> typed = ScanFiniteNumber(intervalBox_->text());
    if (typed && *typed > 0) {
        // Less than a millisecond would make a timer without pause.
        const double ms = std::trunc(*typed * UnitFactor());
        if (ms >= 1 && ms <= kLongestMs) intervalMs_ = static_cast<int>(ms);
    }
    ShowInterval();
}

void COpenContinuousSettingDlg::StepInterval(int step) {
    const long long ms = static_cast<long long>(intervalMs_) + static_cast<long long>(step) * kArrowStepMs;
    if (ms >= 1 && ms <= kLongestMs) intervalMs_ = static_cast<int>(ms);
    ShowInterval();
}

void COpenContinuousSettingDlg::ShowInterval() {
    intervalBox_->setText(UnitFactor() == 1 ? QString::number(intervalMs_)
                                            : PrintedNumber("%.1lf", intervalMs_ / 1000.0));
}

void COpenContinuousSettingDlg::OnChooseDir() {
    const QString chosen = CurrentPrompts().FolderName(this, Text(strLaser_DeviceSetting_ChooseDir));
    if (chosen.isEmpty()) return;
    spectrumDir_ = chosen.endsWith(u'/') ? chosen : chosen + u'/';
    dirField_->setText(spectrumDir_);
    dirField_->setToolTip(spectrumDir_);
}

void COpenContinuousSettingDlg::OnOk() {
    TakeInterval();
    if (spectrumDir_.isEmpty()) {
        CurrentPrompts().MessageBox(this, Text(strMainDlg_OpenContinuousSpectrumSettingDlg_PleaseChooseDir),
                                    Text(strGeneral_MsgboxWrong), Prompts::Buttons::Ok);
        return;
    }
    accept();
}

bool COpenContinuousSettingDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == intervalBox_ && event->type() == QEvent::FocusOut) TakeInterval();
    return QDialog::eventFilter(watched, event);
}

void COpenContinuousSettingDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

}  // namespace quenlix
