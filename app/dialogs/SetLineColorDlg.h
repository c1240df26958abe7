#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <cstdint>
#include <vector>

namespace quenlix {

// Edits a copy of lineColorList (1 to kMaxLineColors colours, 0x00BBGGRR)
// with a preview of the lines on the chart background. Sure writes the copy
// to "config/spec color.bin" and makes it the program's list, which charts
// set up from then on take; a file that cannot be written is told and the
// dialog stays open with the list as it was. Close discards the copy.
class CSetLineColorDlg : public QDialog {
public:
    explicit CSetLineColorDlg(QWidget* parent = nullptr);

    const std::vector<std::uint32_t>& WorkingColors() const { return colors; }
    QListWidget* ColorList() const { return list_; }
    QLabel* Preview() const { return preview_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* ModifyButton() const { return modify_; }
    QPushButton* DeleteButton() const { return delete_; }
    QToolButton* ToFirstButton() const { return toFirst_; }
    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }
    QToolButton* ToLastButton() const { return toLast_; }
    QPushButton* SureButton() const { return sure_; }
    QPushButton* CloseButton() const { return close_; }

private:
    int SelectedRow() const;
    void ShowNumbers(int selectedRow);
    void PaintPreview();
    void OnAdd();
    void OnModify();
    void OnDelete();
    // Moves the selected colour to row `to`, when that is another row of the list.
    void MoveSelected(int to);
    void OnSure();

    std::vector<std::uint32_t> colors;
    QGroupBox* group_;
    QListWidget* list_;
    QToolButton* toFirst_;
    QToolButton* up_;
    QToolButton* down_;
    QToolButton* toLast_;
    QLabel* preview_;
    QPushButton* add_;
    QPushButton* modify_;
    QPushButton* delete_;
    QPushButton* sure_;
    QPushButton* close_;
};

}  // namespace quenlix
