#include "SetPeakParamsDlg.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

#include "Lexora.h"
#include "SvgImages.h"
#include "UiText.h"

namespace quenlix {
namespace {

constexpr int kThresholdStep = 10;
constexpr int kThresholdLimit = 50000;  // thresholds lie strictly between 0 and this

// "%d" applied to the field's text; 0 when that gives no threshold in range.
int ThresholdOf(const QString& text) {
    long long value = 0;
    if (std::sscanf(text.toUtf8().constData(), "%lld", &value) != 1) return 0;
    return value > 0 && value < kThresholdLimit ? static_cast<int>(value) : 0;
}

}  // namespace

CSetPeakParamsDlg::CSetPeakParamsDlg(QWidget* parent)
    : Window(parent),
      titleBar_(new QWidget(this)),
      caption_(new QLabel(titleBar_)),
      closeBox_(new QToolButton(titleBar_)),
      body_(new QWidget(this)),
      thresholdLabel_(new QLabel(body_)),
      thresholdBox_(new QLineEdit(body_)),
      thresholdArrows_(new UpDownArrows(body_, [this](int step) { OnThresholdStep(step); })),
      displayGroup_(new QGroupBox(body_)),
      modeGroup_(new QGroupBox(body_)),
      spectrumGroup_(new QGroupBox(body_)) {
    setAutoFillBackground(true);

    // A small caption bar of its own: the panel is a child, not a window.
    titleBar_->setAutoFillBackground(true);
    titleBar_->setBackgroundRole(QPalette::Highlight);
    caption_->setForegroundRole(QPalette::HighlightedText);
    caption_->setAttribute(Qt::WA_TransparentForMouseEvents);
    closeBox_->setAutoRaise(true);
    closeBox_->setFocusPolicy(Qt::NoFocus);
    closeBox_->setIcon(SvgIcon(QStringLiteral(":/icons/close.svg"), QSize(16, 16)));
    closeBox_->setFixedSize(16, 16);
    auto* titleLayout = new QHBoxLayout(titleBar_);
    titleLayout->setContentsMargins(6, 2, 2, 2);
    titleLayout->addWidget(caption_);
    titleLayout->addStretch();
    titleLayout->addWidget(closeBox_);
    titleBar_->installEventFilter(this);
    connect(closeBox_, &QToolButton::clicked, this, [this] { Collapse(); });

    thresholdBox_->setFixedSize(64, 22);
    thresholdBox_->setText(QString::number(threshold_));
    thresholdArrows_->setFixedSize(16, 22);
    connect(thresholdBox_, &QLineEdit::returnPressed, this, [this] { OnThresholdEnter(); });
    auto* thresholdRow = new QHBoxLayout;
    thresholdRow->setSpacing(2);
    thresholdRow->addWidget(thresholdLabel_);
    thresholdRow->addSpacing(4);
    thresholdRow->addWidget(thresholdBox_);
    thresholdRow->addWidget(thresholdArrows_);
    thresholdRow->addStretch();

    const auto addCheck = [this](QLayout* layout, int item, bool checked) {
        auto* box = new QCheckBox(layout->parentWidget());
        box->setChecked(checked);
        connect(box, &QCheckBox::clicked, this, [this, item](bool on) { Send(item, on ? 1 : 0); });
        layout->addWidget(box);
        checkBoxes_[item] = box;
    };
    const auto groupLayout = [](QLayout* layout) {
        layout->setContentsMargins(8, 4, 8, 4);
        layout->setSpacing(2);
        return layout;
    };
    QLayout* displayLayout = groupLayout(new QVBoxLayout(displayGroup_));
    addCheck(displayLayout, 0, true);
    addCheck(displayLayout, 1, false);
    addCheck(displayLayout, 2, false);
    addCheck(displayLayout, 5, true);
    QLayout* spectrumLayout = groupLayout(new QVBoxLayout(spectrumGroup_));
    addCheck(spectrumLayout, 6, false);
    addCheck(spectrumLayout, 7, true);

    // 30 and 60 degrees have no text: their images show the slant.
    auto* modeLayout = new QGridLayout(modeGroup_);
    groupLayout(modeLayout);
    for (const int angle : {0, 30, 60, 90}) {
        auto* button = new QRadioButton(modeGroup_);
        if (angle == 30 || angle == 60) {
            button->setIcon(SvgIcon(QStringLiteral(":/icons/angle%1.svg").arg(angle), QSize(22, 22)));
            button->setIconSize(QSize(22, 22));
        }
        connect(button, &QRadioButton::clicked, this, [this, angle] { Send(4, angle); });
        const int index = static_cast<int>(angleButtons_.size());
        modeLayout->addWidget(button, index / 2, index % 2, Qt::AlignLeft);
        angleButtons_[angle] = button;
    }
    angleButtons_[0]->setChecked(true);

    auto* bodyLayout = new QVBoxLayout(body_);
    bodyLayout->setContentsMargins(8, 6, 8, 8);
    bodyLayout->setSpacing(4);
    bodyLayout->addLayout(thresholdRow);
    bodyLayout->addWidget(displayGroup_);
    bodyLayout->addWidget(modeGroup_);
    bodyLayout->addWidget(spectrumGroup_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);  // room for the frame
    layout->setSpacing(0);
    layout->addWidget(titleBar_);
    layout->addWidget(body_);

    ApplyLanguage(languageIndex);
    hide();  // the view shows it while the peak search is on
}

void CSetPeakParamsDlg::SetTarget(Window* view) { target_ = view; }

void CSetPeakParamsDlg::SetThreshold(int value) {
    if (value <= 0) return;
    threshold_ = value;
    thresholdBox_->setText(QString::number(value));
}

int CSetPeakParamsDlg::Threshold() const { return threshold_; }

LRESULT CSetPeakParamsDlg::Send(int item, int value) {
    return SendMessage(target_, WM_PEAK_SETTING, static_cast<WPARAM>(item), value);
}

void CSetPeakParamsDlg::OnThresholdEnter() {
    const int value = ThresholdOf(thresholdBox_->text());
    if (value == 0) return;  // out of range: ignored without a word
    threshold_ = value;
    Send(3, value);
}

void CSetPeakParamsDlg::OnThresholdStep(int step) {
    const int value = threshold_ + step * kThresholdStep;
    if (value <= 0 || value >= kThresholdLimit) return;
    threshold_ = value;
    Send(3, value);
    thresholdBox_->setText(QString::number(value));
}

void CSetPeakParamsDlg::FitToContents() {
    layout()->invalidate();
    adjustSize();
}

void CSetPeakParamsDlg::Collapse() {
    if (collapsed_) return;
    collapsed_ = true;
    expandedPos_ = pos();
    body_->hide();
    closeBox_->hide();
    FitToContents();
    move(0, 0);
}

void CSetPeakParamsDlg::Restore() {
    collapsed_ = false;
    body_->show();
    closeBox_->show();
    FitToContents();
    move(expandedPos_);
}

bool CSetPeakParamsDlg::OnTitleBarMouse(QEvent* event) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint global = mouse->globalPosition().toPoint();
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (mouse->button() != Qt::LeftButton) return false;
            dragging_ = true;
            dragMoved_ = false;
            dragStart_ = global;
            panelStart_ = pos();
            return true;
        case QEvent::MouseMove: {
            if (!dragging_) return false;
            const QPoint delta = global - dragStart_;
            if (!dragMoved_ && delta.manhattanLength() < QApplication::startDragDistance()) return true;
            dragMoved_ = true;
            QPoint to = panelStart_ + delta;
            if (const QWidget* parent = parentWidget()) {
                to.setX(std::clamp(to.x(), 0, std::max(0, parent->width() - width())));
                to.setY(std::clamp(to.y(), 0, std::max(0, parent->height() - height())));
            }
            move(to);
            return true;
        }
        case QEvent::MouseButtonRelease:
            if (mouse->button() != Qt::LeftButton || !dragging_) return false;
            dragging_ = false;
            if (!dragMoved_ && collapsed_) Restore();
            return true;
        default:
            return false;
    }
}

bool CSetPeakParamsDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == titleBar_ &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove ||
         event->type() == QEvent::MouseButtonRelease))
        return OnTitleBarMouse(event);
    return Window::eventFilter(watched, event);
}

void CSetPeakParamsDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CSetPeakParamsDlg::ApplyLanguage(int) {
    caption_->setText(Text(strMainDlg_SpecRegion_SpecDis_PeakParams_WindowText));
    thresholdLabel_->setText(Text(strMainDlg_SpecRegion_SpecDis_PeakParams_MinPeak));
    displayGroup_->setTitle(Text(strMainDlg_SpecRegion_SpecDis_PeakParams_Display));
    modeGroup_->setTitle(Text(strMainDlg_SpecRegion_SpecDis_PeakParams_DisplayMode));
    spectrumGroup_->setTitle(Text(strMainDlg_SpecRegion_SpecDis_PeakParams_Spectrum));
    checkBoxes_[0]->setText(Text(strMainDlg_SpecRegion_SpecDis_PeakParams_X));
    checkBoxes_[1]->setText(Text(strMainDlg_SpecRegion_SpecDis_PeakParams_PeakHeight));
    checkBoxes_[2]->setText(Text(strMainDlg_SpecRegion_SpecDis_PeakParams_Fwhm));
    checkBoxes_[5]->setText(Text(strMainDlg_SpecRegion_SpecDis_PeakParams_MarkingLine));
    checkBoxes_[6]->setText(Text(strMainDlg_SpecRegion_SpecDis_PeakParams_DeleteBase));
    checkBoxes_[7]->setText(Text(strMainDlg_SpecRegion_SpecDis_PeakParams_OriginalSpectrum));
    angleButtons_[0]->setText(Text(strMainDlg_SpecRegion_SpecDis_PeakParams_Horizontal));
    angleButtons_[90]->setText(Text(strMainDlg_SpecRegion_SpecDis_PeakParams_Vertical));
    FitToContents();
}

}  // namespace quenlix
