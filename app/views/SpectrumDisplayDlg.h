#pragma once

#include <QPushButton>
#include <QTabWidget>
#include <optional>

#include "AutoIntegration.h"
#include "Beamora.h"
#include "ChooseDeviceDlg.h"
#include "SpectrumDisplayBase.h"
#include "SpectrumInfoDlg.h"

namespace quenlix {

// The live page: the spectra of the devices ticked in its chooser as device
// lines and any number of static spectra as file lines on one chart, with
// an information area below (cursor read-out, pressure, averaging progress,
// active line; and the chooser), and the pulsed laser started and stopped
// with the acquisition. Its toolbar button finds the integration time for
// the active device, a frame per step as the frames come, with the progress
// in the status bar; the button again, Esc, stopping, hiding the page or a
// time set meanwhile ends it.
class CSpectrumDisplayDlg : public CSpectrumDisplayBase {
public:
    explicit CSpectrumDisplayDlg(QWidget* parent = nullptr);
    ~CSpectrumDisplayDlg() override;

    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;

    void ApplyLanguage(int index) override;
    void BeforeRescan() override;
    void AfterRescan() override;
    void OnDeviceAdded(int number, int pointCount, const double* xBuffer,
                       const std::wstring& serialNumber) override;
    void OnFrameTaken(const ViewDevice& device) override;
    void OnNewSpectrum(int number, const double* yBuffer) override;
    int ApplyParameter(int kind, LPARAM value) override;
    void AfterPull() override;
    void OnIntegralTimeApplied() override;
    void Run() override;
    void Stop() override;
    void RunOnce() override;
    void AddActiveSpectrum() override;
    void LoadSpectrum() override;
    void DeleteSpectra() override;

    CSpectrumInfoDlg* InfoPanel() const { return infoPanel; }
    CChooseDeviceDlg* Chooser() const { return chooser; }
    QTabWidget* InfoTabs() const { return infoTabs; }
    QPushButton* InfoToggle() const { return infoToggle; }
    QSize ChartSize() const { return chartSize; }
    CBeamora& Laser() { return laser; }
    // The last automatic integration time run, if one was started.
    const AutoIntegration* AutoIntegrationRun() const { return autoIntegration_ ? &*autoIntegration_ : nullptr; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void AfterLeftUp() override;

private:
    LRESULT BindChosen(const std::vector<int>& positions);
    LRESULT SelectActive(WPARAM wParam, LPARAM lParam);
    LRESULT MoveCursorLine(WPARAM wParam, LPARAM lParam);
    // The laser's settings (message 2050 with 100); OK switches laser control.
    LRESULT OpenLaserSettings();
    // Starts or stops the laser; simulated spectrometers see it fire when its
    // port is open.
    void SwitchLaser(bool on);
    // Starts on the active device; 0 (and a note why) when it cannot run.
    LRESULT StartAutoIntegration();
    // Ends a running one as cancelled, back at the time it began from.
    void CancelAutoIntegration();
    // Through the parameter path, as the strip would, and shown in the strip.
    void ApplyAutoTime(double ms);
    // The run's state in the status bar.
    void ShowAutoIntegration();
    void ReadOut();
    // Marks where each device's newest frame clipped, on the chart and, for
    // the active device, in the information strip.
    void ShowSaturation();
    void ToggleInfo();
    void Layout();

    QTabWidget* infoTabs;
    QPushButton* infoToggle;
    CSpectrumInfoDlg* infoPanel;
    CChooseDeviceDlg* chooser;
    CBeamora laser;
    bool laserOn = false;
    bool infoShown = true;
    int infoTabHeight = 150;
    // The first bound device completed an averaging block in this step.
    bool firstDeviceDelivered_ = false;
    std::vector<PointStretch> saturatedPoints_;  // reused on every step
    std::optional<AutoIntegration> autoIntegration_;
    int autoDevice_ = -1;  // the device it runs on
    bool applyingAutoTime_ = false;
};

}  // namespace quenlix
