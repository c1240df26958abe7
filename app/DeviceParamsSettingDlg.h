#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "UpDownArrows.h"
#include "Window.h"

namespace quenlix {

// The strip at the top of the spectrum region: integration time (ms or s),
// averaging, smoothing and trigger mode. Every change goes to the selected
// page as WM_PAGE_COMMAND through the region panel.
class CDeviceParamsSettingDlg : public Window {
public:
    explicit CDeviceParamsSettingDlg(Window* regionPanel, QWidget* parent = nullptr);

    void ApplyLanguage(int index);
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;

    // The controls, for the panel's tests and layout.
    QLineEdit* TimeBox() const { return timeBox_; }
    QComboBox* UnitBox() const { return unitBox_; }
    UpDownArrows* TimeArrows() const { return timeArrows_; }
    QLineEdit* AvgBox() const { return avgBox_; }
    UpDownArrows* AvgArrows() const { return avgArrows_; }
    QLineEdit* SmoothBox() const { return smoothBox_; }
    UpDownArrows* SmoothArrows() const { return smoothArrows_; }
    QComboBox* TriggerBox() const { return triggerBox_; }

    double IntegralTimeMS() const { return integralTimeMS; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnTimeEnter();
    // Averaging (kind 1, from 1) and smoothing (kind 2, from 0) share their rules.
    void OnCountEnter(QLineEdit* box, int kind, int& value);
    void OnTimeStep(int step);
    void OnCountStep(QLineEdit* box, int kind, int high, int& value, int step);
    void OnUnitChanged();
    void OnTriggerChanged(int index);
    void ShowTime(double ms);
    bool UnitIsSeconds() const;
    // Averaging (1), smoothing (2) and trigger (3) go as values.
    LRESULT SendToPage(int kind, LPARAM value);
    LRESULT SendTimeToPage(const double& ms);

    Window* regionPanel_;
    double integralTimeMS;
    int avgCount = 1;
    int smoothness = 0;
    int triggerIndex = 0;

    QLabel* timeLabel_;
    QLineEdit* timeBox_;
    UpDownArrows* timeArrows_;
    QComboBox* unitBox_;
    QLabel* avgLabel_;
    QLineEdit* avgBox_;
    UpDownArrows* avgArrows_;
    QLabel* smoothLabel_;
    QLineEdit* smoothBox_;
    UpDownArrows* smoothArrows_;
    QLabel* triggerLabel_;
    QComboBox* triggerBox_;
};

}  // namespace quenlix
