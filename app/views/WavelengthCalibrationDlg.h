#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <array>
#include <optional>
#include <thread>

#include "CalibrationFit.h"
#include "CalibrationTableModel.h"
#include "SpectrumDisplayBase.h"
#include "UpDownArrows.h"

namespace quenlix {

// The page on which a spectrometer's wavelength axis is calibrated: the
// live spectrum of one device against pixel number, markings on its lamp
// lines, a table giving each marked pixel its true wavelength, the cubic
// fitted through the pairs, and the four coefficients written into the
// device.
//
// Pixels in the table count from the display window's first pixel, as the
// chart shows them; the fit adds that first pixel, so the coefficients hold
// for the device's own pixel numbers.
//
// Writing into the device runs on a thread of its own (it takes a quarter of
// a second and more); the page stays usable meanwhile, with Calc and Save
// disabled until the outcome is told.
class CWavelengthCalibrationDlg : public CSpectrumDisplayBase {
public:
    // chosenDevice: the device number from the device choice, or -1 for none.
    explicit CWavelengthCalibrationDlg(int chosenDevice, QWidget* parent = nullptr);
    ~CWavelengthCalibrationDlg() override;

    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;
    void ApplyLanguage(int index) override;
    void OnDeviceAdded(int number, int pointCount, const double* xBuffer,
                       const std::wstring& serialNumber) override;
    void OnNewSpectrum(int number, const double* yBuffer) override;
    void AfterPull() override;
    void OnIntegralTimeApplied() override;
    void BeforeRescan() override;
    // The page keeps the pixel numbering its markings were made in.
    void ReloadDeviceAxes(const std::wstring& serialNumber) override;

    // The commands, as the page's controls and menus call them.
    void Insert();
    void Modify();
    void ClickRow(int row);
    void PickStandardWavelength(int listRow);
    void DeletePixelData();
    void MoveAssignedMarkings();
    // A marking command of the chart's menu, followed by the table's update.
    void ChartMarkingCommand(int command);
    void CalcParams();
    void SaveParams();
    void SetStandardWavelengths();
    void MoveMarker(double x);
    void StepMarker(int direction);
    void LoadStandardWavelengths();

    int ChosenDevice() const { return chosenDevice_; }
    int SelectedRow() const { return selectedRow_; }
    bool Writing() const { return writing_; }
    CalibrationTableModel& Table() { return table_; }
    QTableView* TableView() const { return tableView_; }
    QListWidget* StandardList() const { return standardList_; }
    QLineEdit* PixelBox() const { return pixelBox_; }
    QLineEdit* WavelengthBox() const { return wavelengthBox_; }
    QLineEdit* CoefficientBox(int k) const { return coefficientBoxes_[k]; }
    QLineEdit* RSquaredBox() const { return rSquaredBox_; }
    QLineEdit* MarkerBox() const { return markerBox_; }
    QLineEdit* IntensityBox() const { return intensityBox_; }
    QPushButton* CalcButton() const { return calcButton_; }
    QPushButton* SaveButton() const { return saveButton_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void AfterLeftUp() override;
    void ChartContextMenu(QPoint globalAt) override;

private:
    void Layout();
    void SyncTable();
    int FirstSelectedRow() const;
    void ShowCoefficients(const CubicCoefficients& c);
    void RefreshMarker();
    void Tell(const QString& text);
    void ShowTableMenu(QPoint at);
    void ShowListMenu(QPoint at);
    // The outcome of a write, back on the window thread.
    void Written(int result, const CubicCoefficients& previous, const CubicCoefficients& written,
                 std::optional<double> rSquared, const std::wstring& serialNumber);
    void WaitForWriter();

    int chosenDevice_;
    int selectedRow_ = -1;
    CalibrationTableModel table_;
    QTableView* tableView_;
    QListWidget* standardList_;
    QLabel* standardLabel_;
    QLabel* tableLabel_;
    QWidget* controls_;
    QLabel* pixelLabel_;
    QLabel* wavelengthLabel_;
    QLineEdit* pixelBox_;
    QLineEdit* wavelengthBox_;
    QPushButton* insertButton_;
    QPushButton* modifyButton_;
    QPushButton* calcButton_;
    QPushButton* saveButton_;
    std::array<QLineEdit*, 4> coefficientBoxes_;
    QLineEdit* rSquaredBox_;
    QLabel* formulaLabel_;
    QLabel* commentLabel_;
    QLabel* markerLabel_;
    QLabel* intensityLabel_;
    QLineEdit* markerBox_;
    QLineEdit* intensityBox_;
    UpDownArrows* markerArrows_;
    // What the last fit showed, to tell a fitted set from typed values.
    std::array<QString, 4> fittedTexts_;
    std::optional<double> fittedRSquared_;
    std::thread writer_;
    bool writing_ = false;
};

}  // namespace quenlix
