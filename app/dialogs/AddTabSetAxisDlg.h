#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace quenlix {

// Modal question before a table page opens: where its spectrum comes from
// (a started device, or a spectrum file) and, for a device, the X unit.
// The results are read after the run; they stay at their defaults unless
// Sure was pressed.
class CAddTabSetAxisDlg : public QDialog {
public:
    explicit CAddTabSetAxisDlg(QWidget* parent = nullptr);

    bool accepted = false;
    int source = 1;        // 1 device, 2 file
    int deviceIndex = -1;  // the chosen device's number; -1 when there is none
    QString filePath;      // empty until a file was chosen
    int xTypeCode = 0;     // index of the X unit list, 0..5

    QRadioButton* DeviceSource() const { return deviceSource_; }
    QRadioButton* FileSource() const { return fileSource_; }
    QComboBox* DeviceList() const { return deviceList_; }
    QPushButton* FileButton() const { return fileButton_; }
    QLineEdit* PathBox() const { return pathBox_; }
    QComboBox* XTypeList() const { return xTypeList_; }
    QLabel* ExcitationLabel() const { return excitation_; }
    QPushButton* SureButton() const { return sure_; }
    QPushButton* CancelButton() const { return cancel_; }

private:
    void EnableBySource();
    void ChooseFile();
    void OnSure();

    QRadioButton* deviceSource_;
    QRadioButton* fileSource_;
    QLabel* deviceLabel_;
    QComboBox* deviceList_;
    QPushButton* fileButton_;
    QLineEdit* pathBox_;
    QLabel* xTypeLabel_;
    QComboBox* xTypeList_;
    QLabel* excitation_;
    QPushButton* sure_;
    QPushButton* cancel_;
};

}  // namespace quenlix
