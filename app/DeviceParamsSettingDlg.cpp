#include "DeviceParamsSettingDlg.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "Lexora.h"
#include "SaveFailureMessage.h"
#include "MessagePayloads.h"
#include "ProcessValues.h"
#include "SettingsFiles.h"
#include "UiText.h"

namespace quenlix {
namespace {

constexpr int kMaxAvgCount = 100000;
constexpr int kMaxSmoothness = 1000;

// "%lf" applied to the box's text; only a finite positive time counts.
bool ParseTime(const QString& text, double& ms) {
    double value = 0;
    if (std::sscanf(text.toUtf8().constData(), "%lf", &value) != 1) return false;
    if (!std::isfinite(value) || value <= 0) return false;
    ms = value;
    return true;
}

// "%d" applied to the box's text; a count below low, or one no int holds, is refused.
bool ParseCount(const QString& text, int low, int& n) {
    long long value = 0;
    if (std::sscanf(text.toUtf8().constData(), "%lld", &value) != 1) return false;
    if (value < low || value > std::numeric_limits<int>::max()) return false;
    n = static_cast<int>(value);
    return true;
}

QString Printed(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return QString::fromLatin1(text);
}

// Whole milliseconds, or seconds with three decimals; a time those would
// print with a great many digits, or as nothing but zeros, in at most six
// significant digits instead.
QString TimeText(double ms, bool seconds) {
    const double value = seconds ? ms / 1000 : ms;
    const double smallest = seconds ? 0.0005 : 0.5;
    if (std::fabs(value) < 1e9 && (value == 0 || std::fabs(value) >= smallest))
        return Printed(seconds ? "%.3lf" : "%.0lf", value);
    return Printed("%.6g", value);
}

}  // namespace

CDeviceParamsSettingDlg::CDeviceParamsSettingDlg(Window* regionPanel, QWidget* parent)
    : Window(parent),
      regionPanel_(regionPanel),
      integralTimeMS(ReadIntegralTimeFile()),
      timeLabel_(new QLabel(this)),
      timeBox_(new QLineEdit(this)),
      timeArrows_(new UpDownArrows(this, [this](int s) { OnTimeStep(s); })),
      unitBox_(new QComboBox(this)),
      avgLabel_(new QLabel(this)),
      avgBox_(new QLineEdit(this)),
      avgArrows_(new UpDownArrows(this, [this](int s) { OnCountStep(avgBox_, 1, kMaxAvgCount, avgCount, s); })),
      smoothLabel_(new QLabel(this)),
      smoothBox_(new QLineEdit(this)),
      smoothArrows_(
          new UpDownArrows(this, [this](int s) { OnCountStep(smoothBox_, 2, kMaxSmoothness, smoothness, s); })),
      triggerLabel_(new QLabel(this)),
      triggerBox_(new QComboBox(this)) {
    ApplyLanguage(languageIndex);
    unitBox_->setCurrentIndex(0);
    triggerBox_->setCurrentIndex(0);
    ShowTime(integralTimeMS);
    avgBox_->setText(QString::number(avgCount));
    smoothBox_->setText(QString::number(smoothness));
    connect(timeBox_, &QLineEdit::returnPressed, this, [this] { OnTimeEnter(); });
    connect(avgBox_, &QLineEdit::returnPressed, this,
            [this] { OnCountEnter(avgBox_, 1, avgCount); });
    connect(smoothBox_, &QLineEdit::returnPressed, this,
            [this] { OnCountEnter(smoothBox_, 2, smoothness); });
    connect(unitBox_, &QComboBox::currentIndexChanged, this, [this] { OnUnitChanged(); });
    connect(triggerBox_, &QComboBox::currentIndexChanged, this, [this](int i) { OnTriggerChanged(i); });
    messageTargets.parameterStrip = this;
}

bool CDeviceParamsSettingDlg::UnitIsSeconds() const { return unitBox_->currentIndex() == 1; }

LRESULT CDeviceParamsSettingDlg::SendToPage(int kind, LPARAM value) {
    return SendMessage(regionPanel_, WM_PAGE_COMMAND, static_cast<WPARAM>(kind), value);
}

LRESULT CDeviceParamsSettingDlg::SendTimeToPage(const double& ms) {
    return SendWithLParam<WM_PAGE_COMMAND>(regionPanel_, 0, ms);
}

void CDeviceParamsSettingDlg::ShowTime(double ms) {
    timeBox_->setText(TimeText(ms, UnitIsSeconds()));
}

void CDeviceParamsSettingDlg::OnTimeEnter() {
    double value = 0;
    if (!ParseTime(timeBox_->text(), value)) return;
    if (UnitIsSeconds()) value *= 1000;
    if (SendTimeToPage(value)) {
        integralTimeMS = value;
    } else {
        ShowTime(integralTimeMS);  // the time the devices now run at
    }
    // The file always holds milliseconds, whatever unit the box shows.
    if (!WriteIntegralTimeFile(integralTimeMS)) TellSaveFailure(this, kIntegralTimeFile);
}

void CDeviceParamsSettingDlg::OnCountEnter(QLineEdit* box, int kind, int& value) {
    // Only the arrows stop at the upper limits; a typed count may go beyond.
    const int low = kind == 1 ? 1 : 0;
    int n = 0;
    if (!ParseCount(box->text(), low, n)) {
        box->setText(QString::number(value));
        return;
    }
    SendToPage(kind, n);
    value = n;
}

void CDeviceParamsSettingDlg::OnTimeStep(int step) {
    double value = integralTimeMS + step * (UnitIsSeconds() ? 1000.0 : 1.0);
    if (value <= 0) return;
    if (SendTimeToPage(value)) {
        integralTimeMS = value;
        ShowTime(value);
    } else {
        SendTimeToPage(integralTimeMS);
    }
}

void CDeviceParamsSettingDlg::OnCountStep(QLineEdit* box, int kind, int high, int& value, int step) {
    const int low = kind == 1 ? 1 : 0;
    const int n = value + step;
    if (n < low || n > high) return;
    value = n;
    if (SendToPage(kind, n)) box->setText(QString::number(n));
}

void CDeviceParamsSettingDlg::OnUnitChanged() { ShowTime(integralTimeMS); }

void CDeviceParamsSettingDlg::OnTriggerChanged(int index) {
    if (index < 0) return;  // the box is being refilled
    if (SendToPage(3, index)) {
        triggerIndex = index;
        // The link refuses time changes while triggered externally.
        const bool internal = index == 0;
        timeBox_->setEnabled(internal);
        timeArrows_->setEnabled(internal);
        unitBox_->setEnabled(internal);
    } else {
        const QSignalBlocker quiet(triggerBox_);
        triggerBox_->setCurrentIndex(triggerIndex);
    }
}

LRESULT CDeviceParamsSettingDlg::OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_INTEGRATION_TIME_SHOWN) return 0;
    const double* ms = LParamData<WM_INTEGRATION_TIME_SHOWN>(lParam);
    if (wParam == 0 && ms) {
        integralTimeMS = *ms;
        ShowTime(*ms);
    }
    return 1;
}

void CDeviceParamsSettingDlg::ApplyLanguage(int) {
    timeLabel_->setText(Text(strMainDlg_SpecRegion_DevParams_IntegralTime));
    avgLabel_->setText(Text(strMainDlg_SpecRegion_DevParams_AvgCount));
    smoothLabel_->setText(Text(strMainDlg_SpecRegion_DevParams_Smoothness));
    triggerLabel_->setText(Text(strMainDlg_SpecRegion_DevParams_TrigMode));
    const auto refill = [](QComboBox* box, const QString& first, const QString& second) {
        const QSignalBlocker quiet(box);
        const int selected = std::max(box->currentIndex(), 0);
        box->clear();
        box->addItems({first, second});
        box->setCurrentIndex(selected);
    };
    refill(unitBox_, Text(strMainDlg_SpecRegion_DevParams_IntegralTimeUnitMS),
           Text(strMainDlg_SpecRegion_DevParams_IntegralTimeUnitS));
    refill(triggerBox_, Text(strMainDlg_SpecRegion_DevParams_TrigModeInt),
           Text(strMainDlg_SpecRegion_DevParams_TrigModeExt));
}

void CDeviceParamsSettingDlg::resizeEvent(QResizeEvent*) {
    // Four groups side by side when wide, two rows of two when narrower,
    // one per row when narrow; the region panel gives the height to match.
    const int perRow = width() >= 830 ? 4 : width() >= 470 ? 2 : 1;
    const int rows = 4 / perRow;
    constexpr int kRow = 30;
    constexpr int kHeight = 22;
    const int cellWidth = width() / perRow;
    const int top = std::max(0, (height() - rows * kRow) / 2);
    int labelWidth = 0;
    for (QLabel* label : {timeLabel_, avgLabel_, smoothLabel_, triggerLabel_})
        labelWidth = std::max(labelWidth, label->sizeHint().width());
    const auto place = [&](int group, QLabel* label, QWidget* box, QWidget* arrows, QWidget* unit) {
        int x = (group % perRow) * cellWidth + 4;
        const int y = top + (group / perRow) * kRow + 4;
        label->setGeometry(x, y, labelWidth, kHeight);
        x += labelWidth + 4;
        box->setGeometry(x, y, arrows ? 56 : 96, kHeight);
        if (arrows) arrows->setGeometry(x + 56, y, 16, kHeight);
        if (unit) unit->setGeometry(x + 76, y, 48, kHeight);
    };
    place(0, timeLabel_, timeBox_, timeArrows_, unitBox_);
    place(1, avgLabel_, avgBox_, avgArrows_, nullptr);
    place(2, smoothLabel_, smoothBox_, smoothArrows_, nullptr);
    place(3, triggerLabel_, triggerBox_, nullptr, nullptr);
}

}  // namespace quenlix
