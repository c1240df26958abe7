#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quenlix {

// Modal question for the number of spectra to superpose. OK keeps a
// positive typed number; any other text leaves the count as it was.
class CSetSuperpositionCountDlg : public QDialog {
public:
    // The box starts with count.
    explicit CSetSuperpositionCountDlg(int count, QWidget* parent = nullptr);

    int superpositionCount;

    QLineEdit* CountBox() const { return box_; }
    QPushButton* OkButton() const { return ok_; }

private:
    QLineEdit* box_;
    QLabel* label_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace quenlix
