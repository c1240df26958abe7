#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPoint>
#include <QRadioButton>
#include <QToolButton>
#include <map>

#include "UpDownArrows.h"
#include "Window.h"

namespace quenlix {

// The peak parameter panel floating over a view while the automatic peak
// search is on. Each control sends WM_PEAK_SETTING (item, value) to the view:
// 0 X shown, 1 height shown, 2 FWHM shown, 3 threshold, 4 label angle,
// 5 markings shown, 6 base-deleted line shown, 7 original line shown.
// Closing it minimises it to the top-left corner of the view instead.
class CSetPeakParamsDlg : public Window {
public:
    explicit CSetPeakParamsDlg(QWidget* parent);

    void SetTarget(Window* view);
    // Values > 0 are stored and shown in the threshold field.
    void SetThreshold(int value);
    int Threshold() const;
    void ApplyLanguage(int index);

    // The controls, for tests.
    QLineEdit* ThresholdBox() const { return thresholdBox_; }
    UpDownArrows* ThresholdArrows() const { return thresholdArrows_; }
    // The check box of items 0, 1, 2, 5, 6 and 7.
    QCheckBox* CheckBox(int item) const { return checkBoxes_.at(item); }
    // The radio button of 0, 30, 60 or 90 degrees.
    QRadioButton* AngleButton(int angle) const { return angleButtons_.at(angle); }
    QWidget* TitleBar() const { return titleBar_; }
    QToolButton* CloseBox() const { return closeBox_; }
    bool IsCollapsed() const { return collapsed_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    LRESULT Send(int item, int value);
    void OnThresholdEnter();
    void OnThresholdStep(int step);
    // Down to the title bar in the parent's top-left corner, and back.
    void Collapse();
    void Restore();
    void FitToContents();
    // The title bar drags the panel within its parent; a click on the
    // collapsed bar restores it.
    bool OnTitleBarMouse(QEvent* event);

    Window* target_ = nullptr;
    int threshold_ = 600;
    bool collapsed_ = false;
    QPoint expandedPos_;
    QPoint dragStart_;   // global pointer position at the press
    QPoint panelStart_;  // panel position at the press
    bool dragging_ = false;
    bool dragMoved_ = false;

    QWidget* titleBar_;
    QLabel* caption_;
    QToolButton* closeBox_;
    QWidget* body_;
    QLabel* thresholdLabel_;
    QLineEdit* thresholdBox_;
    UpDownArrows* thresholdArrows_;
    QGroupBox* displayGroup_;
    QGroupBox* modeGroup_;
    QGroupBox* spectrumGroup_;
    std::map<int, QCheckBox*> checkBoxes_;
    std::map<int, QRadioButton*> angleButtons_;
};

}  // namespace quenlix
