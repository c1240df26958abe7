#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace quenlix {

// Modal question "which device?": a list of "Device %d" for every started
// device. After the run chosenNumber holds the device number, -1 when the
// list was empty, or kCancelled.
class CChooseDeviceDlg1 : public QDialog {
public:
    static constexpr int kCancelled = -2;

    explicit CChooseDeviceDlg1(QWidget* parent = nullptr);

    int chosenNumber = kCancelled;
    QComboBox* List() const { return list_; }
    QPushButton* OkButton() const { return ok_; }

private:
    void OnOk();

    QComboBox* list_;
    QLabel* label_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace quenlix
