#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quenlix {

// Shows the Mao ruby scale, the formula the information panel computes the
// pressure with, and sets its reference wavelength λ0. A typed λ0 counts
// when it is a finite number above 0; anything else puts the previous one
// back. The opener reads ReferenceWavelength() after OK.
class CPressureMaoDetailDlg : public QDialog {
public:
    CPressureMaoDetailDlg(double referenceWavelength, QWidget* parent = nullptr);

    double ReferenceWavelength() const { return referenceWavelength; }

    QLineEdit* ReferenceBox() const { return referenceBox_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

private:
    void TakeTypedReference();

    double referenceWavelength;
    QLabel* formulaTitle_;
    QLabel* formula_;
    QLabel* pressureLabel_;
    QLabel* wavelengthLabel_;
    QLabel* referenceSymbol_;
    QLineEdit* referenceBox_;
    QLabel* referenceUnit_;
    QLabel* citationTitle_;
    QLabel* citation_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace quenlix
