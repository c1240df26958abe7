#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "UpDownArrows.h"

namespace quenlix {

// Asks for the folder of a series to play back and the interval between two
// of its files. The interval is typed in ms or s and kept in whole ms; the
// edit takes a number when it loses the focus or on Enter: one above 0 (and
// at least 1 ms, at most INT_MAX ms) replaces the interval, anything else
// keeps it. The arrows step it by 100 ms. OK ends the dialog only once a
// folder was chosen; Escape and Enter do not end it.
class COpenContinuousSettingDlg : public QDialog {
public:
    // The interval edit starts with intervalMs, in ms.
    explicit COpenContinuousSettingDlg(int intervalMs, QWidget* parent = nullptr);

    int IntervalMs() const { return intervalMs_; }
    // Empty, or the chosen folder ending in '/'.
    const QString& SpectrumDir() const { return spectrumDir_; }

    // The controls, for tests.
    QLineEdit* IntervalBox() const { return intervalBox_; }
    UpDownArrows* IntervalArrows() const { return intervalArrows_; }
    QComboBox* UnitBox() const { return unitBox_; }
    QLineEdit* DirField() const { return dirField_; }
    QPushButton* ChooseDirButton() const { return chooseDir_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void TakeInterval();
    void StepInterval(int step);
    void ShowInterval();
    void OnChooseDir();
    void OnOk();
    // Milliseconds per unit of the list: ms, s.
    int UnitFactor() const { return unitBox_->currentIndex() == 1 ? 1000 : 1; }

    int intervalMs_;
    QString spectrumDir_;
    QLabel* intervalLabel_;
    QLineEdit* intervalBox_;
    UpDownArrows* intervalArrows_;
    QComboBox* unitBox_;
    QLabel* dirLabel_;
    QLineEdit* dirField_;
    QPushButton* chooseDir_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace quenlix
