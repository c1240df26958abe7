#include "LaserDeviceSettingDlg.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>

#include "Lexora.h"
#include "ProcessValues.h"
#include "Prompts.h"
#include "SaveFailureMessage.h"
#include "UiText.h"
#include "OwnText.h"

namespace quenlix {
namespace {

constexpr int kWidthFactors[] = {1, 1000};           // µs, ms
constexpr int kDelayFactors[] = {1, 1000, 1000000};  // ns, µs, ms

constexpr int kMaxFreqHz = 1000;
constexpr int kMaxWidthUs = 1000000;
constexpr int kMaxDelayNs = 1000000000;

// The laser takes each setting in before the next.
constexpr auto kCommandPause = std::chrono::milliseconds(300);

// Beyond the string table (see OwnText.h).
// %1: the serial device.
constexpr OwnTextRow kPortNotOpened = {
    L"无法打开激光器的串口 %1。请检查激光器是否已连接，以及您是否有权使用该串口（属于 dialout 组）。",
    L"無法開啟雷射的序列埠 %1。請檢查雷射是否已連接，以及您是否有權使用該序列埠（屬於 dialout 群組）。",
    L"The laser's serial port %1 cannot be opened. Check that the laser is connected and that you may "
    L"use the port (member of the dialout group)."};

// "%d" applied to the text, times factor; only a number above 0 whose kept
// value an int holds is taken.
bool Typed(const QString& text, int factor, int& kept) {
    long long n = 0;
    if (std::sscanf(text.toUtf8().constData(), "%lld", &n) != 1) return false;
    if (n <= 0 || n > INT_MAX / factor) return false;
    kept = static_cast<int>(n * factor);
    return true;
}

}  // namespace

CLaserDeviceSettingDlg::CLaserDeviceSettingDlg(CBeamora& laser, QWidget* parent)
    : QDialog(parent),
      settings(ReadLaserSettingsFile()),
      laser_(laser),
      controlCheck_(new QCheckBox(this)),
      generalGroup_(new QGroupBox(this)),
      portLabel_(new QLabel(generalGroup_)),
      portBox_(new QLineEdit(generalGroup_)),
      portDevice_(new QLabel(generalGroup_)),
      freqLabel_(new QLabel(generalGroup_)),
      freqBox_(new QLineEdit(generalGroup_)),
      freqArrows_(new UpDownArrows(generalGroup_, [this](int s) { OnStep(freq_, s); })),
      widthLabel_(new QLabel(generalGroup_)),
      widthBox_(new QLineEdit(generalGroup_)),
      widthArrows_(new UpDownArrows(generalGroup_, [this](int s) { OnStep(width_, s); })),
      widthUnit_(new QComboBox(generalGroup_)),
      mode1Group_(new QGroupBox(this)),
      delayLabel_(new QLabel(mode1Group_)),
      delayBox_(new QLineEdit(mode1Group_)),
      delayArrows_(new UpDownArrows(mode1Group_, [this](int s) { OnStep(delay_, s); })),
      delayUnit_(new QComboBox(mode1Group_)),
      trigLabel_(new QLabel(mode1Group_)),
      trigBox_(new QComboBox(mode1Group_)),
      ok_(new QPushButton(this)),
      cancel_(new QPushButton(this)),
      port_{&settings.CommPort, portBox_, nullptr, nullptr, INT_MAX},  // no arrows, no upper bound
      freq_{&settings.HZ, freqBox_, nullptr, nullptr, kMaxFreqHz},
      width_{&settings.PulseWidthUsec, widthBox_, widthUnit_, kWidthFactors, kMaxWidthUs},
      delay_{&settings.Delay0Ns, delayBox_, delayUnit_, kDelayFactors, kMaxDelayNs} {
    // Unit symbols read the same in every language.
    widthUnit_->addItems({QStringLiteral("μs"), QStringLiteral("ms")});
    delayUnit_->addItems({QStringLiteral("ns"), QStringLiteral("μs"), QStringLiteral("ms")});
    ApplyLanguage(languageIndex);
    trigBox_->setCurrentIndex(settings.TrigMode);
    controlCheck_->setChecked(settings.BOpenLaserControl);

    // Label, edit, arrows, unit list, one row a value.
    auto* general = new QGridLayout(generalGroup_);
    general->addWidget(portLabel_, 0, 0);
    general->addWidget(portBox_, 0, 1);
    general->addWidget(portDevice_, 0, 2, 1, 2);
    general->addWidget(freqLabel_, 1, 0);
    general->addWidget(freqBox_, 1, 1);
    general->addWidget(freqArrows_, 1, 2);
    general->addWidget(widthLabel_, 2, 0);
    general->addWidget(widthBox_, 2, 1);
    general->addWidget(widthArrows_, 2, 2);
    general->addWidget(widthUnit_, 2, 3);
    auto* mode1 = new QGridLayout(mode1Group_);
    mode1->addWidget(delayLabel_, 0, 0);
    mode1->addWidget(delayBox_, 0, 1);
    mode1->addWidget(delayArrows_, 0, 2);
    mode1->addWidget(delayUnit_, 0, 3);
    mode1->addWidget(trigLabel_, 1, 0);
    mode1->addWidget(trigBox_, 1, 1, 1, 3);
    for (QGridLayout* grid : {general, mode1}) grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* all = new QVBoxLayout(this);
    all->addWidget(controlCheck_);
    all->addWidget(generalGroup_);
    all->addWidget(mode1Group_);
    all->addLayout(buttons);
    all->setSizeConstraint(QLayout::SetFixedSize);

    for (const Field* field : {&port_, &freq_, &width_, &delay_}) {
        field->box->setMinimumWidth(90);
        Show(*field);
        connect(field->box, &QLineEdit::editingFinished, this, [this, field] { OnEdited(*field); });
        if (field->unit) {
            connect(field->unit, &QComboBox::currentIndexChanged, this,
                    [this, field] { OnUnitChanged(*field); });
        }
    }
    for (UpDownArrows* arrows : {freqArrows_, widthArrows_, delayArrows_}) {
        arrows->setFixedSize(16, freqBox_->sizeHint().height());
    }
    ShowPortDevice();
    ApplyEnabling();

    connect(controlCheck_, &QCheckBox::toggled, this, [this](bool on) {
        settings.BOpenLaserControl = on;
        ApplyEnabling();
    });
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, [this] { OnOk(); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void CLaserDeviceSettingDlg::ApplyLanguage(int) {
    setWindowTitle(Text(strLaser_DeviceSetting_WindowText));
    controlCheck_->setText(Text(strLaser_DeviceSetting_BOpenDeviceControl));
    generalGroup_->setTitle(Text(strLaser_DeviceSetting_GeneralSetting));
    portLabel_->setText(Text(strLaser_DeviceSetting_CommPort));
    freqLabel_->setText(Text(strLaser_DeviceSetting_Freq));
    widthLabel_->setText(Text(strLaser_DeviceSetting_PulseWidth));
    mode1Group_->setTitle(Text(strLaser_DeviceSetting_Mode1));
    delayLabel_->setText(Text(strLaser_DeviceSetting_Delay0));
    trigLabel_->setText(Text(strLaser_DeviceSetting_TrigMode));
    const int trig = std::max(trigBox_->currentIndex(), 0);
    trigBox_->clear();
    trigBox_->addItems({Text(strLaser_DeviceSetting_TrigModeInt), Text(strLaser_DeviceSetting_TrigModeExt)});
    trigBox_->setCurrentIndex(trig);
    ok_->setText(Text(strGeneral_Sure));
    cancel_->setText(Text(strGeneral_Cancel));
}

int CLaserDeviceSettingDlg::Factor(const Field& field) const {
    return field.unit ? field.factors[std::max(field.unit->currentIndex(), 0)] : 1;
}

void CLaserDeviceSettingDlg::Show(const Field& field) {
    field.box->setText(QString::number(*field.value / Factor(field)));
}

void CLaserDeviceSettingDlg::OnEdited(const Field& field) {
    Typed(field.box->text(), Factor(field), *field.value);
    Show(field);
    if (&field == &port_) ShowPortDevice();
}

void CLaserDeviceSettingDlg::OnStep(const Field& field, int step) {
    // A step that would leave the range is not taken; a typed value beyond
    // the upper limit can still step down.
    const int unit = Factor(field);
    const long long moved = static_cast<long long>(*field.value) + static_cast<long long>(step) * unit;
    if (step > 0 ? moved <= field.maximum : moved >= unit) *field.value = static_cast<int>(moved);
    Show(field);
}

void CLaserDeviceSettingDlg::OnUnitChanged(const Field& field) {
    const int unit = Factor(field);
    *field.value = std::max(*field.value / unit, 1) * unit;
    Show(field);
}

void CLaserDeviceSettingDlg::ShowPortDevice() {
    portDevice_->setText(QString::fromStdWString(CBeamora::PortDeviceName(settings.CommPort)));
}

void CLaserDeviceSettingDlg::ApplyEnabling() {
    const bool on = settings.BOpenLaserControl;
    const bool delayOn = on && settings.ControlMode == 1;
    generalGroup_->setEnabled(on);
    for (QWidget* w : std::initializer_list<QWidget*>{delayLabel_, delayBox_, delayArrows_, delayUnit_}) {
        w->setEnabled(delayOn);
    }
}

void CLaserDeviceSettingDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) return;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && qobject_cast<QLineEdit*>(focusWidget())) return;  // the edit has checked itself
    QDialog::keyPressEvent(event);
}

void CLaserDeviceSettingDlg::OnOk() {
    settings.TrigMode = trigBox_->currentIndex() == 1 ? 1 : 0;
    if (!WriteLaserSettingsFile(settings)) TellSaveFailure(this, kLibsLaserFile);
    if (settings.BOpenLaserControl) {
        // An open port stays open: a new port number counts from the next opening.
        laser_.SetCommPort(settings.CommPort);
        if (!laser_.IsCommOpening()) laser_.OpenComm();
        if (!laser_.IsCommOpening()) {
            TellPortNotOpened();
            return;  // the person may choose another port, or Cancel
        }
        // The person may not end the dialog before the laser has all settings.
        sending_ = true;
        for (QWidget* w :
             std::initializer_list<QWidget*>{controlCheck_, generalGroup_, mode1Group_, ok_, cancel_}) {
            w->setEnabled(false);
        }
        SendCommand(0);
        return;
    }
    laser_.CloseComm();
    accept();
}

void CLaserDeviceSettingDlg::SendCommand(int step) {
    switch (step) {
        case 0:
            if (settings.TrigMode == 0) {
                laser_.IntTrig();
            } else {
                laser_.ExtTrig();
            }
            break;
        case 1:
            laser_.SetPulseWidth(settings.PulseWidthUsec);
            break;
        case 2:
            laser_.SetPulseFreq(settings.HZ);
            break;
        case 3:
            laser_.SetGrabDelayNs(settings.Delay0Ns);
            break;
        default:
            laser_.StartLaser();
            sending_ = false;
            accept();
            return;
    }
    // The event loop waits out the pause, so the live chart behind goes on. A
    // coarse timer may fire early; the dialog as context drops the remaining
    // commands if it goes away meanwhile.
    QTimer::singleShot(kCommandPause, Qt::PreciseTimer, this, [this, step] { SendCommand(step + 1); });
}

void CLaserDeviceSettingDlg::closeEvent(QCloseEvent* event) {
    if (sending_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CLaserDeviceSettingDlg::TellPortNotOpened() {
    const QString device = QString::fromStdWString(CBeamora::PortDeviceName(settings.CommPort));
    CurrentPrompts().MessageBox(this, OwnText(kPortNotOpened).arg(device), Text(strGeneral_MsgboxPrompt),
                                Prompts::Buttons::Ok);
}

}  // namespace quenlix
