#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "Window.h"

namespace quenlix {

// Enters the chart's axis ranges by number and remembers the last ranges
// entered for each X and Y type ("config/last coords1%d.bin",
// "config/last coords2%d.bin"); starts from them or from the chart's axes
// ("config/set coords mode.bin"). A valid entry goes to the view as
// WM_SET_AXIS_REGION; the dialog stays open until closed.
//
// An entry is valid when all four fields hold finite numbers and each range
// is wider than the smallest zoom of its unit: 0.2 in most units, 0.0002 µm,
// 0.01 % for transmissivity and reflectivity, 0.001 for absorbance. The
// fields show as many decimals as such a zoom needs.
class CSetCoordsRegionDlg : public QDialog {
public:
    explicit CSetCoordsRegionDlg(QWidget* parent);

    void SetRegion(double xMin, double xMax, double yMin, double yMax);
    void SetAxisTypes(int xType, int yType);
    void SetTarget(Window* view);

    // 1: the fields start from the last ranges entered; 2: from the chart's axes.
    int Mode() const { return mode; }
    QLineEdit* XMinBox() const { return xMin_; }
    QLineEdit* XMaxBox() const { return xMax_; }
    QLineEdit* YMinBox() const { return yMin_; }
    QLineEdit* YMaxBox() const { return yMax_; }
    QRadioButton* LastRangesChoice() const { return lastRanges_; }
    QRadioButton* ChartAxesChoice() const { return chartAxes_; }
    QPushButton* ModifyButton() const { return modify_; }
    QPushButton* CloseButton() const { return close_; }

protected:
    // The fields are filled each time the dialog opens.
    void showEvent(QShowEvent* event) override;

private:
    void ShowStartingValues();
    void OnModeChosen(int chosen);
    void OnModify();

    int mode;
    double region[4] = {0, 0, 0, 0};  // the chart's X min, X max, Y min, Y max
    int xType = 0;
    int yType = 0;
    Window* target = nullptr;
    QGroupBox* xGroup_;
    QLabel* xMinLabel_;
    QLineEdit* xMin_;
    QLabel* xMaxLabel_;
    QLineEdit* xMax_;
    QGroupBox* yGroup_;
    QLabel* yMinLabel_;
    QLineEdit* yMin_;
    QLabel* yMaxLabel_;
    QLineEdit* yMax_;
    QRadioButton* lastRanges_;
    QRadioButton* chartAxes_;
    QPushButton* modify_;
    QPushButton* close_;
};

}  // namespace quenlix
