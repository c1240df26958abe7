#pragma once

#include <QDialog>

#include "Window.h"

namespace quenlix {

// Enters the chart's axis ranges by number and remembers the last ranges
// entered for each X and Y type ("config/last coords1%d.bin",
// "config/last coords2%d.bin"); starts from them or from the chart's axes
// ("config/set coords mode.bin"). A valid entry goes to the view as
// WM_SET_AXIS_REGION; the dialog stays open until closed.
class CSetCoordsRegionDlg : public QDialog {
public:
    explicit CSetCoordsRegionDlg(QWidget* parent);

    void SetRegion(double xMin, double xMax, double yMin, double yMax);
    void SetAxisTypes(int xType, int yType);
    void SetTarget(Window* view);
};

}  // namespace quenlix
