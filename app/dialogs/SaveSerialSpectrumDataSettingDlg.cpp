#include "SaveSerialSpectrumDataSettingDlg.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QTime>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

#include "Lexora.h"
#include "Prompts.h"
#include "ReplaceFile.h"
#include "SaveFailureMessage.h"
#include "SettingsPath.h"
#include "Utf16File.h"
#include "UiText.h"

namespace quenlix {
namespace {

using Dlg = CSaveSerialSpectrumDataSettingDlg;

constexpr int kMaxInt = std::numeric_limits<int>::max();
// The series writer takes 1 to 9 digits; a longer fill count would be dropped
// there and the files named otherwise than the preview shows.
constexpr int kMaxFillCount = 9;
// Thirteen short lines and two paths; a larger file is no settings file.
constexpr std::size_t kFileLimit = 64 * 1024;

// The number a "%d" scan reads at the start of text (blanks and a sign
// allowed, anything after the digits ignored); none without digits. Too
// large a number comes back clamped to long long, which every caller refuses.
std::optional<long long> ScanNumber(const QString& text) {
    const std::string narrow = text.toStdString();
    char* end = nullptr;
    const long long value = std::strtoll(narrow.c_str(), &end, 10);
    if (end == narrow.c_str()) return std::nullopt;
    return value;
}

QString Line(const char* head, int value) { return QString::fromLatin1(head) + QString::number(value); }

}  // namespace

CSaveSerialSpectrumDataSettingDlg::CSaveSerialSpectrumDataSettingDlg(QWidget* parent)
    : QDialog(parent),
      saveModeGroup_(new QGroupBox(this)),
      saveModes_{new QRadioButton(saveModeGroup_), new QRadioButton(saveModeGroup_),
                 new QRadioButton(saveModeGroup_)},
      intervalCountBox_(new QLineEdit(saveModeGroup_)),
      intervalCountArrows_(
          new UpDownArrows(saveModeGroup_, [this](int s) { Step(FieldOf(intervalCountBox_), s); })),
      intervalTimeBox_(new QLineEdit(saveModeGroup_)),
      intervalTimeArrows_(
          new UpDownArrows(saveModeGroup_, [this](int s) { Step(FieldOf(intervalTimeBox_), s); })),
      intervalUnitBox_(new QComboBox(saveModeGroup_)),
      stopModeGroup_(new QGroupBox(this)),
      stopModes_{new QRadioButton(stopModeGroup_), new QRadioButton(stopModeGroup_),
                 new QRadioButton(stopModeGroup_)},
      saveCountBox_(new QLineEdit(stopModeGroup_)),
      saveCountArrows_(new UpDownArrows(stopModeGroup_, [this](int s) { Step(FieldOf(saveCountBox_), s); })),
      saveLengthBox_(new QLineEdit(stopModeGroup_)),
      saveLengthArrows_(
          new UpDownArrows(stopModeGroup_, [this](int s) { Step(FieldOf(saveLengthBox_), s); })),
      lengthUnitBox_(new QComboBox(stopModeGroup_)),
      dirLabel_(new QLabel(this)),
      dirField_(new QLineEdit(this)),
      chooseDir_(new QPushButton(this)),
      prefixLabel_(new QLabel(this)),
      prefixBox_(new QLineEdit(this)),
      fillCountLabel_(new QLabel(this)),
      fillCountBox_(new QLineEdit(this)),
      fillCountArrows_(new UpDownArrows(this, [this](int s) { Step(FieldOf(fillCountBox_), s); })),
      comment_(new QLabel(this)),
      previewLabel_(new QLabel(this)),
      previewField_(new QLineEdit(this)),
      includeTimeBox_(new QCheckBox(this)),
      includeMsBox_(new QCheckBox(this)),
      begin_(new QPushButton(this)),
      cancel_(new QPushButton(this)) {
    ReadSettingsFile();

    // Unit symbols read the same in every language.
    intervalUnitBox_->addItems({QStringLiteral("ms"), QStringLiteral("s"), QStringLiteral("min")});
    lengthUnitBox_->addItems(
        {QStringLiteral("ms"), QStringLiteral("s"), QStringLiteral("min"), QStringLiteral("h")});

    const int boxHeight = intervalCountBox_->sizeHint().height();
    for (QLineEdit* box :
         {intervalCountBox_, intervalTimeBox_, saveCountBox_, saveLengthBox_, fillCountBox_}) {
        box->setFixedWidth(80);
        box->installEventFilter(this);
    }
    for (UpDownArrows* arrows :
         {intervalCountArrows_, intervalTimeArrows_, saveCountArrows_, saveLengthArrows_, fillCountArrows_})
        arrows->setFixedSize(16, boxHeight);
    for (QLineEdit* field : {dirField_, previewField_}) {
        field->setReadOnly(true);
        QPalette palette = field->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Button));
        field->setPalette(palette);
    }
    dirField_->setMinimumWidth(300);
    comment_->setWordWrap(true);

    // Each mode group: the option, then its number, arrows and unit.
    const auto fillGroup = [](QGroupBox* group, QRadioButton* const(&options)[3], QLineEdit* countBox,
                              UpDownArrows* countArrows, QLineEdit* timeBox, UpDownArrows* timeArrows,
                              QComboBox* unitBox) {
        auto* grid = new QGridLayout(group);
        grid->addWidget(options[0], 0, 0, 1, 4);
        grid->addWidget(options[1], 1, 0);
        grid->addWidget(countBox, 1, 1);
        grid->addWidget(countArrows, 1, 2);
        grid->addWidget(options[2], 2, 0);
        grid->addWidget(timeBox, 2, 1);
        grid->addWidget(timeArrows, 2, 2);
        grid->addWidget(unitBox, 2, 3);
        grid->setColumnStretch(4, 1);
    };
    fillGroup(saveModeGroup_, saveModes_, intervalCountBox_, intervalCountArrows_, intervalTimeBox_,
              intervalTimeArrows_, intervalUnitBox_);
    fillGroup(stopModeGroup_, stopModes_, saveCountBox_, saveCountArrows_, saveLengthBox_, saveLengthArrows_,
              lengthUnitBox_);

    auto* names = new QGridLayout;
    names->addWidget(dirLabel_, 0, 0);
    names->addWidget(dirField_, 0, 1, 1, 3);
    names->addWidget(chooseDir_, 0, 4);
    names->addWidget(prefixLabel_, 1, 0);
    names->addWidget(prefixBox_, 1, 1, 1, 3);
    names->addWidget(fillCountLabel_, 2, 0);
    names->addWidget(fillCountBox_, 2, 1);
    names->addWidget(fillCountArrows_, 2, 2);
    names->addWidget(comment_, 3, 1, 1, 4);
    names->addWidget(previewLabel_, 4, 0);
    names->addWidget(previewField_, 4, 1, 1, 3);
    names->setColumnStretch(3, 1);
    auto* checks = new QHBoxLayout;
    checks->addWidget(includeTimeBox_);
    checks->addWidget(includeMsBox_);
    checks->addStretch(1);
    names->addLayout(checks, 5, 1, 1, 4);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(begin_);
    buttons->addWidget(cancel_);
    auto* column = new QVBoxLayout(this);
    column->addWidget(saveModeGroup_);
    column->addWidget(stopModeGroup_);
    column->addLayout(names);
    column->addLayout(buttons);

    // No default button: Enter clicks nothing.
    for (QPushButton* button : {chooseDir_, begin_, cancel_}) button->setAutoDefault(false);
    for (int mode = 0; mode < 3; ++mode) {
        connect(saveModes_[mode], &QRadioButton::clicked, this, [this, mode] { saveMode = mode; });
        connect(stopModes_[mode], &QRadioButton::clicked, this, [this, mode] { stopMode = mode; });
    }
    connect(intervalUnitBox_, &QComboBox::currentIndexChanged, this,
            [this](int index) { OnUnitChosen(intervalUnitBox_, timeUnit0, intervalTimeInput, index); });
    connect(lengthUnitBox_, &QComboBox::currentIndexChanged, this,
            [this](int index) { OnUnitChosen(lengthUnitBox_, timeUnit1, saveLengthInput, index); });
    connect(prefixBox_, &QLineEdit::textChanged, this, [this](const QString& text) {
        prefix = text;
        ShowPreview();
    });
    connect(includeTimeBox_, &QCheckBox::toggled, this, [this](bool checked) { OnIncludeTime(checked); });
    connect(includeMsBox_, &QCheckBox::toggled, this, [this](bool checked) {
        includeMs = checked;
        ShowPreview();
    });
    connect(chooseDir_, &QPushButton::clicked, this, [this] { OnChooseDir(); });
    connect(begin_, &QPushButton::clicked, this, [this] { OnBeginSaving(); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    ApplyLanguage(languageIndex);
    ShowValues();
}

CSaveSerialSpectrumDataSettingDlg::~CSaveSerialSpectrumDataSettingDlg() { WriteSettingsFile(); }

void CSaveSerialSpectrumDataSettingDlg::ApplyLanguage(int) {
    setWindowTitle(Text(strMainDlg_SpecRegion_SpecDisplay_SaveSerialSetting_WindowText));
    saveModeGroup_->setTitle(Text(strMainDlg_SpecRegion_SpecDisplay_SaveSerialSetting_SaveMode));
    saveModes_[0]->setText(Text(strMainDlg_SpecRegion_SpecDisplay_SaveSerialSetting_SaveMode0));
    saveModes_[1]->setText(Text(strMainDlg_SpecRegion_SpecDisplay_SaveSerialSetting_SaveMode1));
    saveModes_[2]->setText(Text(strMainDlg_SpecRegion_SpecDisplay_SaveSerialSetting_SaveMode2));
    stopModeGroup_->setTitle(Text(strMainDlg_SpecRegion_SpecDisplay_SaveSerialSetting_StopMode));
    stopModes_[0]->setText(Text(strMainDlg_SpecRegion_SpecDisplay_SaveSerialSetting_StopMode0));
    stopModes_[1]->setText(Text(strMainDlg_SpecRegion_SpecDisplay_SaveSerialSetting_StopMode1));
    stopModes_[2]->setText(Text(strMainDlg_SpecRegion_SpecDisplay_SaveSerialSetting_StopMode2));
    dirLabel_->setText(Text(strMainDlg_SpecRegion_SpecDisplay_SaveSerialSetting_SaveTo));
    chooseDir_->setText(Text(strMainDlg_SpecRegion_SpecDisplay_SaveSerialSetting_ChooseDir));
    prefixLabel_->setText(Text(strMainDlg_SpecRegion_SpecDisplay_SaveSerialSetting_Prefix));
    fillCountLabel_->setText(Text(strMainDlg_SpecRegion_SpecDisplay_SaveSerialSetting_FillCount));
    comment_->setText(Text(strMainDlg_SpecRegion_SpecDisplay_SaveSerialSetting_Comment0));
    previewLabel_->setText(Text(strMainDlg_SpecRegion_SpecDisplay_SaveSerialSetting_SampleName));
    includeTimeBox_->setText(Text(strMainDlg_SpecRegion_SpecDisplay_SaveSerialSetting_IncludeTimestamp));
    includeMsBox_->setText(Text(strMainDlg_SpecRegion_SpecDisplay_SaveSerialSetting_IncludeMs));
    begin_->setText(Text(strMainDlg_SpecRegion_SpecDisplay_SaveSerialSetting_StartSaving));
    cancel_->setText(Text(strGeneral_Cancel));
    // The numbers of both groups line up behind the widest option.
    QRadioButton* const numbered[] = {saveModes_[1], saveModes_[2], stopModes_[1], stopModes_[2]};
    int widest = 0;
    for (QRadioButton* option : numbered) {
        option->setMinimumWidth(0);
        widest = std::max(widest, option->sizeHint().width());
    }
    for (QRadioButton* option : numbered) option->setMinimumWidth(widest);
}

// UTF-16LE after FF FE, one "key:value" line per setting ending in LF. Lines
// are known by their three-digit key; a missing, unknown or out-of-range line
// leaves the setting at its initial value. The millisecond lines are not
// read: they are always the shown number times its unit.
void CSaveSerialSpectrumDataSettingDlg::ReadSettingsFile() {
    const std::optional<QString> text = ReadUtf16File(SettingsPath(kSaveSerialSettingsFile), kFileLimit);
    if (!text) return;
    struct NumberLine {
        const char* head;
        int Dlg::*setting;
        int lowest;
        int highest;
    };
    static constexpr NumberLine kNumberLines[] = {
        {"000SaveMode:", &Dlg::saveMode, 0, 2},
        {"010IntervalCount:", &Dlg::intervalCount, 1, kMaxInt},
        {"030IntervalTimeInput:", &Dlg::intervalTimeInput, 1, kMaxInt},
        {"040TimeUnit0:", &Dlg::timeUnit0, 0, 2},
        {"050StopMode:", &Dlg::stopMode, 0, 2},
        {"060SaveCount:", &Dlg::saveCount, 1, kMaxInt},
        {"080SaveLengthInput:", &Dlg::saveLengthInput, 1, kMaxInt},
        {"090TimeUnit1:", &Dlg::timeUnit1, 0, 3},
        {"110FillCount:", &Dlg::fillCount, 1, kMaxFillCount},
    };
    for (QString line : text->split(u'\n')) {
        if (line.endsWith(u'\r')) line.chop(1);  // a file edited into CR LF lines
        if (line.startsWith(QLatin1String("100Prefix:"))) prefix = line.mid(10);
        if (line.startsWith(QLatin1String("120FileDir:"))) fileDir = line.mid(11);
        for (const NumberLine& known : kNumberLines) {
            const QLatin1String head(known.head);
            if (!line.startsWith(head)) continue;
            const std::optional<long long> value = ScanNumber(line.mid(head.size()));
            if (value && *value >= known.lowest && *value <= known.highest)
                this->*known.setting = static_cast<int>(*value);
        }
    }
    // A time that would not fit in int milliseconds is damaged: both of its
    // numbers go back to their initial values.
    if (static_cast<long long>(intervalTimeInput) * kTimeFactors[timeUnit0] > kMaxInt) {
        intervalTimeInput = 100;
        timeUnit0 = 0;
    }
    if (static_cast<long long>(saveLengthInput) * kTimeFactors[timeUnit1] > kMaxInt) {
        saveLengthInput = 1;
        timeUnit1 = 2;
    }
}

void CSaveSerialSpectrumDataSettingDlg::WriteSettingsFile() {
    const QString lines[] = {
        Line("000SaveMode:", saveMode),
        Line("010IntervalCount:", intervalCount),
        Line("020IntervalTimeMs:", IntervalTimeMs()),
        Line("030IntervalTimeInput:", intervalTimeInput),
        Line("040TimeUnit0:", timeUnit0),
        Line("050StopMode:", stopMode),
        Line("060SaveCount:", saveCount),
        Line("070SaveLengthMs:", SaveLengthMs()),
        Line("080SaveLengthInput:", saveLengthInput),
        Line("090TimeUnit1:", timeUnit1),
        QStringLiteral("100Prefix:") + prefix,
        Line("110FillCount:", fillCount),
        QStringLiteral("120FileDir:") + fileDir,
    };
    QString text;
    for (const QString& line : lines) text += line + u'\n';
    const std::string bytes = Utf16FileBytes(text);
    if (!WriteFileReplacing(SettingsPathForWrite(kSaveSerialSettingsFile), bytes))
        TellSaveFailure(parentWidget(), kSaveSerialSettingsFile);
}

Dlg::NumberField CSaveSerialSpectrumDataSettingDlg::FieldOf(const QLineEdit* box) {
    if (box == intervalCountBox_) return {intervalCountBox_, &intervalCount, kMaxInt, nullptr};
    if (box == intervalTimeBox_) return {intervalTimeBox_, &intervalTimeInput, kMaxInt, &timeUnit0};
    if (box == saveCountBox_) return {saveCountBox_, &saveCount, kMaxInt, nullptr};
    if (box == saveLengthBox_) return {saveLengthBox_, &saveLengthInput, kMaxInt, &timeUnit1};
    return {fillCountBox_, &fillCount, kMaxFillCount, nullptr};
}

bool CSaveSerialSpectrumDataSettingDlg::Fits(const NumberField& field, long long value) const {
    if (value < 1 || value > field.highest) return false;
    return !field.unit || value <= kMaxInt / kTimeFactors[*field.unit];
}

void CSaveSerialSpectrumDataSettingDlg::TakeNumber(const NumberField& field) {
    const std::optional<long long> value = ScanNumber(field.box->text());
    if (value && Fits(field, *value)) *field.value = static_cast<int>(*value);
    field.box->setText(QString::number(*field.value));
    if (field.box == fillCountBox_) ShowPreview();
}

void CSaveSerialSpectrumDataSettingDlg::Step(const NumberField& field, int step) {
    const long long value = static_cast<long long>(*field.value) + step;
    if (Fits(field, value)) *field.value = static_cast<int>(value);
    field.box->setFocus();
    field.box->setText(QString::number(*field.value));
    if (field.box == fillCountBox_) ShowPreview();
}

void CSaveSerialSpectrumDataSettingDlg::OnUnitChosen(QComboBox* box, int& unit, int input, int index) {
    if (index < 0) return;
    if (static_cast<long long>(input) * kTimeFactors[index] > kMaxInt) {
        const QSignalBlocker quiet(box);
        box->setCurrentIndex(unit);
        return;
    }
    unit = index;
}

void CSaveSerialSpectrumDataSettingDlg::OnChooseDir() {
    const QString chosen = CurrentPrompts().FolderName(this, Text(strLaser_DeviceSetting_ChooseDir));
    if (!chosen.isEmpty()) fileDir = chosen.endsWith(u'/') ? chosen : chosen + u'/';
    dirField_->setText(fileDir);
    dirField_->setToolTip(fileDir);
}

void CSaveSerialSpectrumDataSettingDlg::OnIncludeTime(bool checked) {
    includeTime = checked;
    includeMsBox_->setVisible(checked);
    if (!checked) {
        const QSignalBlocker quiet(includeMsBox_);
        includeMsBox_->setChecked(false);
        includeMs = false;
    }
    ShowPreview();
}

void CSaveSerialSpectrumDataSettingDlg::OnBeginSaving() {
    if (fileDir.isEmpty()) {
        CurrentPrompts().MessageBox(this,
                                    Text(strMainDlg_SpecRegion_SpecDisplay_SaveSerialSetting_MsgChooseDir),
                                    Text(strGeneral_MsgboxWrong), Prompts::Buttons::Ok);
        return;
    }
    accept();
}

bool CSaveSerialSpectrumDataSettingDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        if (auto* box = qobject_cast<QLineEdit*>(watched)) TakeNumber(FieldOf(box));
    }
    return QDialog::eventFilter(watched, event);
}

void CSaveSerialSpectrumDataSettingDlg::keyPressEvent(QKeyEvent* event) {
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

void CSaveSerialSpectrumDataSettingDlg::done(int result) {
    for (QLineEdit* box : {intervalCountBox_, intervalTimeBox_, saveCountBox_, saveLengthBox_, fillCountBox_})
        TakeNumber(FieldOf(box));
    QDialog::done(result);
}

void CSaveSerialSpectrumDataSettingDlg::ShowValues() {
    saveModes_[saveMode]->setChecked(true);
    stopModes_[stopMode]->setChecked(true);
    for (QLineEdit* box : {intervalCountBox_, intervalTimeBox_, saveCountBox_, saveLengthBox_, fillCountBox_})
        box->setText(QString::number(*FieldOf(box).value));
    {
        const QSignalBlocker quietInterval(intervalUnitBox_);
        const QSignalBlocker quietLength(lengthUnitBox_);
        intervalUnitBox_->setCurrentIndex(timeUnit0);
        lengthUnitBox_->setCurrentIndex(timeUnit1);
    }
    dirField_->setText(fileDir);
    dirField_->setToolTip(fileDir);
    prefixBox_->setText(prefix);
    includeMsBox_->setVisible(includeTime);
    ShowPreview();
}

// The prefix, fillCount digits 0, 1, 2 …, the time of day when asked, ".txt".
void CSaveSerialSpectrumDataSettingDlg::ShowPreview() {
    QString name = prefix;
    for (int i = 0; i < fillCount; ++i) name += QChar(u'0' + i % 10);
    if (includeTime) {
        const QTime now = QTime::currentTime();
        char part[32];
        if (includeMs)
            std::snprintf(part, sizeof part, "_%02d%02d%02d(%03d)", now.hour(), now.minute(), now.second(),
                          now.msec());
        else
            std::snprintf(part, sizeof part, "_%02d%02d%02d", now.hour(), now.minute(), now.second());
        name += QString::fromLatin1(part);
    }
    previewField_->setText(name + QStringLiteral(".txt"));
}

}  // namespace quenlix
