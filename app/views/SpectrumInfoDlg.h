#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

#include "RubyPressure.h"
#include "UpDownArrows.h"
#include "Window.h"

namespace quenlix {

class CChooseDeviceDlg;

// The strip under a live view: averaging progress, the X and Y of the
// chart's cursor line, the pressure a ruby line at that X indicates on the
// Mao scale, and the choice of the active line among the chosen devices and
// static spectra. Takes WM_AVERAGE_PROGRESS, WM_CHOSEN_SOURCES and
// WM_CURSOR_VALUE from the view; sends it WM_SELECT_ACTIVE_SPECTRUM and
// WM_MOVE_CURSOR_LINE.
//
// The scale's reference wavelength λ0 starts at 694.22 nm; the Detail
// button takes it from "config/i0.bin" and lets the user set it there. Only a
// finite λ0 above 0 is ever taken, and the pressure field stays empty where
// the scale gives no finite pressure.
class CSpectrumInfoDlg : public Window {
public:
    explicit CSpectrumInfoDlg(QWidget* parent);

    void SetTargetView(Window* view);
    void SetChooser(CChooseDeviceDlg* chooser);
    // The X unit of the cursor value; empties the pressure field.
    void SetXUnit(int code);
    void ApplyLanguage(int index);
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;

    // λ0 in nm.
    double ReferenceWavelength() const { return referenceWavelength; }
    QRadioButton* DeviceChoice() const { return deviceChoice_; }
    QComboBox* DeviceList() const { return deviceList_; }
    QRadioButton* StaticChoice() const { return staticChoice_; }
    QComboBox* StaticList() const { return staticList_; }
    QLineEdit* XBox() const { return xBox_; }
    UpDownArrows* XArrows() const { return xArrows_; }
    QLineEdit* YBox() const { return yBox_; }
    QLineEdit* PressureBox() const { return pressureBox_; }
    QPushButton* DetailButton() const { return detail_; }
    QLabel* ProgressText() const { return progressText_; }
    QLabel* PercentText() const { return percentText_; }
    QProgressBar* ProgressBar() const { return progressBar_; }

private:
    void ChooseDevice();
    void ChooseStatic();
    void RefillDevices(const std::vector<int>& numbers);
    void RefillStatics(const std::vector<int>& numbers);
    void ShowProgress(int percent);
    void ShowX(double x);
    void OnXEntered();
    void OnDetail();

    Window* view = nullptr;
    CChooseDeviceDlg* chooser = nullptr;  // the view's chooser, whose ticks fill the lists
    double referenceWavelength = kDefaultRubyReferenceNm;
    int xUnit = 0;
    QRadioButton* deviceChoice_;
    QComboBox* deviceList_;
    QRadioButton* staticChoice_;
    QComboBox* staticList_;
    QLabel* xLabel_;
    QLineEdit* xBox_;
    UpDownArrows* xArrows_;
    QLabel* yLabel_;
    QLineEdit* yBox_;
    QLabel* pressureLabel_;
    QLineEdit* pressureBox_;
    QPushButton* detail_;
    QWidget* progressStrip_;
    QLabel* progressText_;
    QLabel* percentText_;
    QProgressBar* progressBar_;
};

}  // namespace quenlix
