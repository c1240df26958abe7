#pragma once

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
};

}  // namespace quenlix
