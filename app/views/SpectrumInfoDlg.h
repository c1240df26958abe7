#pragma once

#include "Window.h"

namespace quenlix {

class CChooseDeviceDlg;

// The strip under a live view: averaging progress, the X and Y of the
// chart's cursor line, the pressure a ruby line at that X indicates on the
// Mao scale, and the choice of the active line among the chosen devices and
// static spectra. Takes WM_AVERAGE_PROGRESS, WM_CHOSEN_SOURCES and
// WM_CURSOR_VALUE from the view; sends it WM_SELECT_ACTIVE_SPECTRUM and
// WM_MOVE_CURSOR_LINE.
class CSpectrumInfoDlg : public Window {
public:
    explicit CSpectrumInfoDlg(QWidget* parent);

    void SetTargetView(Window* view);
    void SetChooser(CChooseDeviceDlg* chooser);
    // The X unit of the cursor value; empties the pressure field.
    void SetXUnit(int code);
    void ApplyLanguage(int index);
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace quenlix
