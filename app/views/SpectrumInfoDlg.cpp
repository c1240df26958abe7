#include "SpectrumInfoDlg.h"

#include <QGridLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "Lexora.h"
#include "MessagePayloads.h"
#include "NumberText.h"
#include "PressureMaoDetailDlg.h"
#include "Prompts.h"
#include "RubyPressure.h"
#include "UiText.h"

namespace quenlix {
namespace {

constexpr WPARAM kNone = static_cast<WPARAM>(-1);
// A message of the view's that the panel answers with 1 and nothing else.
constexpr unsigned kAnswerOne = WM_USER + 2048;

QLabel* Pane(QWidget* strip) {
    auto* pane = new QLabel(strip);
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return pane;
}

}  // namespace

CSpectrumInfoDlg::CSpectrumInfoDlg(QWidget* parent)
    : Window(parent),
      deviceChoice_(new QRadioButton(this)),
      deviceList_(new QComboBox(this)),
      staticChoice_(new QRadioButton(this)),
      staticList_(new QComboBox(this)),
      xLabel_(new QLabel(this)),
      xBox_(new QLineEdit(this)),
      xArrows_(new UpDownArrows(this, [this](int step) {
          SendMessage(view, WM_MOVE_CURSOR_LINE, static_cast<WPARAM>(step), 0);
      })),
      yLabel_(new QLabel(this)),
      yBox_(new QLineEdit(this)),
      pressureLabel_(new QLabel(this)),
      pressureBox_(new QLineEdit(this)),
      detail_(new QPushButton(this)),
      progressStrip_(new QWidget(this)),
      progressText_(Pane(progressStrip_)),
      percentText_(Pane(progressStrip_)),
      progressBar_(new QProgressBar(progressStrip_)) {
    yBox_->setReadOnly(true);
    pressureBox_->setReadOnly(true);
    deviceList_->setFixedWidth(80);
    staticList_->setFixedWidth(80);
    xBox_->setFixedWidth(96);
    yBox_->setFixedWidth(96);
    xArrows_->setFixedSize(16, 22);
    pressureBox_->setFixedWidth(80);
    detail_->setFixedWidth(80);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(8);
    grid->addWidget(deviceChoice_, 0, 0);
    grid->addWidget(deviceList_, 0, 1);
    grid->addWidget(staticChoice_, 1, 0);
    grid->addWidget(staticList_, 1, 1);
    grid->setColumnMinimumWidth(2, 10);
    grid->addWidget(xLabel_, 0, 3);
    grid->addWidget(xBox_, 0, 4);
    grid->addWidget(xArrows_, 0, 5);
    grid->addWidget(yLabel_, 1, 3);
    grid->addWidget(yBox_, 1, 4);
    grid->setColumnMinimumWidth(6, 10);
    grid->addWidget(pressureLabel_, 0, 7);
    grid->addWidget(pressureBox_, 0, 8);
    grid->addWidget(detail_, 1, 8);
    grid->setColumnStretch(9, 1);

    // Three panes: the caption, the percentage and the bar.
    progressStrip_->setFixedSize(270, 25);
    progressText_->setGeometry(0, 0, 130, 25);
    percentText_->setGeometry(130, 0, 40, 25);
    progressBar_->setGeometry(170, 0, 100, 25);
    progressBar_->setRange(0, 100);
    progressBar_->setValue(50);
    progressBar_->setTextVisible(false);
    percentText_->setText(QStringLiteral("0%"));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 2);
    column->addLayout(grid);
    column->addStretch(1);
    column->addWidget(progressStrip_);

    deviceChoice_->setChecked(true);
    staticList_->setEnabled(false);
    connect(deviceChoice_, &QRadioButton::clicked, this, [this] {
        deviceList_->setEnabled(true);
        staticList_->setEnabled(false);
        ChooseDevice();
    });
    connect(staticChoice_, &QRadioButton::clicked, this, [this] {
        staticList_->setEnabled(true);
        deviceList_->setEnabled(false);
        ChooseStatic();
    });
    connect(deviceList_, &QComboBox::currentIndexChanged, this, [this] { ChooseDevice(); });
    connect(staticList_, &QComboBox::currentIndexChanged, this, [this] { ChooseStatic(); });
    connect(xBox_, &QLineEdit::returnPressed, this, [this] { OnXEntered(); });
    connect(detail_, &QPushButton::clicked, this, [this] { OnDetail(); });
    ApplyLanguage(languageIndex);
}

void CSpectrumInfoDlg::SetTargetView(Window* target) { view = target; }
void CSpectrumInfoDlg::SetChooser(CChooseDeviceDlg* source) { chooser = source; }

void CSpectrumInfoDlg::SetXUnit(int code) {
    xUnit = code;
    pressureBox_->clear();
}

void CSpectrumInfoDlg::ApplyLanguage(int) {
    deviceChoice_->setText(Text(strMainDlg_SpecRegion_SpecDisplay_CheckSpecInfo_ChooseActiveDevice));
    staticChoice_->setText(Text(strMainDlg_SpecRegion_SpecDisplay_CheckSpecInfo_ChooseActiveStaticDevice));
    xLabel_->setText(Text(strMainDlg_SpecRegion_SpecDisplay_CheckSpecInfo_XData));
    yLabel_->setText(Text(strMainDlg_SpecRegion_SpecDisplay_CheckSpecInfo_YData));
    pressureLabel_->setText(Text(strMainDlg_SpecRegion_SpecDisplay_CheckSpecInfo_Pressure));
    detail_->setText(Text(strGeneral_Detail));
    progressText_->setText(Text(strMainDlg_SpecRegion_SpecDisplay_CheckSpecInfo_Refresh));
}

LRESULT CSpectrumInfoDlg::OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_AVERAGE_PROGRESS:
            ShowProgress(static_cast<int>(wParam));
            return 1;
        case WM_CHOSEN_SOURCES:
            if (const std::vector<int>* devices = WParamData<WM_CHOSEN_SOURCES>(wParam)) RefillDevices(*devices);
            if (const std::vector<int>* statics = LParamData<WM_CHOSEN_SOURCES>(lParam)) RefillStatics(*statics);
            return 1;
        case WM_CURSOR_VALUE: {
            const double* value = LParamData<WM_CURSOR_VALUE>(lParam);
            if (value == nullptr) return 0;
            if (wParam == 1) ShowX(*value);
            if (wParam == 2) yBox_->setText(PrintedNumber("%.3lf", *value));
            return 1;
        }
        case kAnswerOne:
            return 1;
        default:
            return 0;
    }
}

void CSpectrumInfoDlg::ShowProgress(int percent) {
    percentText_->setText(QString::number(percent) + QLatin1Char('%'));
    progressBar_->setValue(std::clamp(percent, 0, 100));
}

void CSpectrumInfoDlg::ChooseDevice() {
    if (deviceList_->count() == 0) {
        SendMessage(view, WM_SELECT_ACTIVE_SPECTRUM, kNone, -1);
        return;
    }
    const int n = deviceList_->currentText().toInt();
    if (n >= 0 && n < deviceList_->currentIndex()) return;
    SendMessage(view, WM_SELECT_ACTIVE_SPECTRUM, static_cast<WPARAM>(n), -1);
}

void CSpectrumInfoDlg::ChooseStatic() {
    const QString text = staticList_->currentText();
    if (text.isEmpty()) {
        SendMessage(view, WM_SELECT_ACTIVE_SPECTRUM, kNone, -1);
        return;
    }
    SendWithLParam<WM_SELECT_ACTIVE_SPECTRUM>(view, kNone, text);
}

// Keeps the chosen entry when it is still there, else takes the first; the
// device chosen then becomes the active line.
void CSpectrumInfoDlg::RefillDevices(const std::vector<int>& numbers) {
    {
        const QSignalBlocker quiet(deviceList_);
        const QString kept = deviceList_->currentText();
        deviceList_->clear();
        for (int n : numbers) deviceList_->addItem(QString::number(n));
        const int at = kept.isEmpty() ? -1 : deviceList_->findText(kept);
        deviceList_->setCurrentIndex(std::max(at, 0));
    }
    ChooseDevice();
}

// As RefillDevices, but the active line stays as it is.
void CSpectrumInfoDlg::RefillStatics(const std::vector<int>& numbers) {
    const QSignalBlocker quiet(staticList_);
    const QString kept = staticList_->currentText();
    staticList_->clear();
    for (int n : numbers) staticList_->addItem(QString::number(n));
    const int at = kept.isEmpty() ? -1 : staticList_->findText(kept);
    staticList_->setCurrentIndex(std::max(at, 0));
}

void CSpectrumInfoDlg::ShowX(double x) {
    xBox_->setText(PrintedNumber("%.3lf", x));
    std::optional<double> pressure;
    if (xUnit == 0) pressure = MaoPressure(x, referenceWavelength);
    if (xUnit == 1) pressure = MaoPressure(x * 1000, referenceWavelength);
    pressureBox_->setText(pressure ? PrintedNumber("%.2lf", *pressure) : QString());
}

void CSpectrumInfoDlg::OnXEntered() {
    if (const std::optional<double> x = ScanFiniteNumber(xBox_->text()))
        SendWithLParam<WM_MOVE_CURSOR_LINE>(view, 0, *x);
}

void CSpectrumInfoDlg::OnDetail() {
    if (const std::optional<double> stored = ReadRubyReferenceWavelength()) referenceWavelength = *stored;
    CPressureMaoDetailDlg dialog(referenceWavelength, this);
    if (CurrentPrompts().RunModal(dialog) != QDialog::Accepted) return;
    referenceWavelength = dialog.ReferenceWavelength();
    // A file that cannot be written is not told: λ0 holds for this panel anyway.
    WriteRubyReferenceWavelength(referenceWavelength);
}

}  // namespace quenlix
