#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <string>

#include "UpDownArrows.h"

namespace quenlix {

inline constexpr const char* kSaveSerialSettingsFile = "config\\save serial settings.bin";

// Settings of a series of saved spectra: when a spectrum is saved, when the
// series stops, where the files go and how they are named. The settings are
// read from "config\save serial settings.bin" at construction and written
// back whenever the dialog is destroyed, however it ended. The view reads
// the results after "Begin Saving" ended it with Accepted.
//
// Every millisecond value (a typed number times its unit) fits an int: a
// number or unit that would overflow it is refused like any invalid number.
class CSaveSerialSpectrumDataSettingDlg : public QDialog {
public:
    explicit CSaveSerialSpectrumDataSettingDlg(QWidget* parent = nullptr);
    ~CSaveSerialSpectrumDataSettingDlg() override;

    void ApplyLanguage(int index);

    // 0 every new spectrum, 1 one, then skip IntervalCount, 2 one per IntervalTimeMs.
    int SaveMode() const { return saveMode; }
    int IntervalCount() const { return intervalCount; }
    int IntervalTimeMs() const { return intervalTimeInput * kTimeFactors[timeUnit0]; }
    // 0 stopped by the user, 1 after SaveCount files, 2 after SaveLengthMs.
    int StopMode() const { return stopMode; }
    int SaveCount() const { return saveCount; }
    int SaveLengthMs() const { return saveLengthInput * kTimeFactors[timeUnit1]; }
    // Empty, or a folder path ending in '/'.
    std::wstring FileDir() const { return fileDir.toStdWString(); }
    std::wstring Prefix() const { return prefix.toStdWString(); }
    bool IncludeTime() const { return includeTime; }
    bool IncludeMs() const { return includeMs; }
    // 1 to 9 digits of the serial number, as the series writer takes them.
    int FillCount() const { return fillCount; }

    // The controls, for tests.
    QRadioButton* SaveModeChoice(int mode) const { return saveModes_[mode]; }
    QRadioButton* StopModeChoice(int mode) const { return stopModes_[mode]; }
    QLineEdit* IntervalCountBox() const { return intervalCountBox_; }
    UpDownArrows* IntervalCountArrows() const { return intervalCountArrows_; }
    QLineEdit* IntervalTimeBox() const { return intervalTimeBox_; }
    UpDownArrows* IntervalTimeArrows() const { return intervalTimeArrows_; }
    QComboBox* IntervalUnitBox() const { return intervalUnitBox_; }
    QLineEdit* SaveCountBox() const { return saveCountBox_; }
    UpDownArrows* SaveCountArrows() const { return saveCountArrows_; }
    QLineEdit* SaveLengthBox() const { return saveLengthBox_; }
    UpDownArrows* SaveLengthArrows() const { return saveLengthArrows_; }
    QComboBox* LengthUnitBox() const { return lengthUnitBox_; }
    QLineEdit* DirField() const { return dirField_; }
    QPushButton* ChooseDirButton() const { return chooseDir_; }
    QLineEdit* PrefixBox() const { return prefixBox_; }
    QLineEdit* FillCountBox() const { return fillCountBox_; }
    UpDownArrows* FillCountArrows() const { return fillCountArrows_; }
    QLineEdit* PreviewField() const { return previewField_; }
    QCheckBox* IncludeTimeBox() const { return includeTimeBox_; }
    QCheckBox* IncludeMsBox() const { return includeMsBox_; }
    QPushButton* BeginButton() const { return begin_; }
    QPushButton* CancelButton() const { return cancel_; }

    // Milliseconds per unit: ms, s, min, h (the interval offers the first three).
    static constexpr int kTimeFactors[4] = {1, 1000, 60000, 3600000};

protected:
    // Numeric edits take their number when they lose the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Enter and Escape do nothing here.
    void keyPressEvent(QKeyEvent* event) override;
    // However the dialog ends, what the edits show is taken first.
    void done(int result) override;

private:
    // One numeric edit with its setting, its lowest and highest value and,
    // for the two times, the unit whose factor must keep it within an int.
    struct NumberField {
        QLineEdit* box;
        int* value;
        int highest;
        const int* unit;
    };

    void ReadSettingsFile();
    void WriteSettingsFile();
    NumberField FieldOf(const QLineEdit* box);
    bool Fits(const NumberField& field, long long value) const;
    void TakeNumber(const NumberField& field);
    void Step(const NumberField& field, int step);
    void OnUnitChosen(QComboBox* box, int& unit, int input, int index);
    void OnChooseDir();
    void OnIncludeTime(bool checked);
    void OnBeginSaving();
    void ShowValues();
    void ShowPreview();

    int saveMode = 0;
    int intervalCount = 5;
    int intervalTimeInput = 100;
    int timeUnit0 = 0;
    int stopMode = 0;
    int saveCount = 50;
    int saveLengthInput = 1;
    int timeUnit1 = 2;
    QString prefix = QStringLiteral("data");
    int fillCount = 5;
    QString fileDir;
    bool includeTime = false;
    bool includeMs = false;

    QGroupBox* saveModeGroup_;
    QRadioButton* saveModes_[3];
    QLineEdit* intervalCountBox_;
    UpDownArrows* intervalCountArrows_;
    QLineEdit* intervalTimeBox_;
    UpDownArrows* intervalTimeArrows_;
    QComboBox* intervalUnitBox_;
    QGroupBox* stopModeGroup_;
    QRadioButton* stopModes_[3];
    QLineEdit* saveCountBox_;
    UpDownArrows* saveCountArrows_;
    QLineEdit* saveLengthBox_;
    UpDownArrows* saveLengthArrows_;
    QComboBox* lengthUnitBox_;
    QLabel* dirLabel_;
    QLineEdit* dirField_;
    QPushButton* chooseDir_;
    QLabel* prefixLabel_;
    QLineEdit* prefixBox_;
    QLabel* fillCountLabel_;
    QLineEdit* fillCountBox_;
    UpDownArrows* fillCountArrows_;
    QLabel* comment_;
    QLabel* previewLabel_;
    QLineEdit* previewField_;
    QCheckBox* includeTimeBox_;
    QCheckBox* includeMsBox_;
    QPushButton* begin_;
    QPushButton* cancel_;
};

}  // namespace quenlix
