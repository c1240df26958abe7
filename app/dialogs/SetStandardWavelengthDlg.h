#pragma once

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace quenlix {

// Modal editor of the standard wavelengths, the text of
// "Config\Standard Wavelength.bin". Save writes the file and keeps the
// dialog open, saying whether it worked; Close ends it without saving.
class CSetStandardWavelengthDlg : public QDialog {
public:
    explicit CSetStandardWavelengthDlg(QWidget* parent = nullptr);

    void Save();

    QPlainTextEdit* Editor() const { return editor_; }
    QPushButton* SaveButton() const { return save_; }
    QPushButton* CloseButton() const { return close_; }

private:
    QPlainTextEdit* editor_;
    QPushButton* save_;
    QPushButton* close_;
};

}  // namespace quenlix
