#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quenlix {

// Sets excitationWavelengthSetting, the laser line the Raman shift axis is
// measured from. Modify takes a finite number above 0 and closes; any other
// text is told as wrong input and the dialog stays open. Close keeps the value.
class CSetExcitationWavelengthDlg : public QDialog {
public:
    explicit CSetExcitationWavelengthDlg(QWidget* parent = nullptr);

    QLineEdit* WavelengthBox() const { return box_; }
    QPushButton* ModifyButton() const { return modify_; }
    QPushButton* CloseButton() const { return close_; }

private:
    void OnModify();

    QLabel* label_;
    QLineEdit* box_;
    QLabel* unit_;
    QPushButton* modify_;
    QPushButton* close_;
};

}  // namespace quenlix
