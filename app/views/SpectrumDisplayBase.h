#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPoint>
#include <QSize>
#include <string>

#include "ChartCanvas.h"
#include "DislpayToolbarDlg.h"
#include "Plotara.h"
#include "ReceiveData.h"
#include "SeriesRecorder.h"
#include "SetPeakParamsDlg.h"

namespace quenlix {

// A page that shows spectra on one chart with a display toolbar above it:
// routes the pointer to the chart, repaints it every 50 ms while shown, and
// carries out the toolbar's commands (mouse modes, axis fitting, dark and
// reference, Y units, peak search). Subclasses call CreateToolbar,
// InitChart and CreatePeakPanel after construction and place the chart
// (chartOrigin, chartSize, PlaceChart).
//
// Mouse modes of the chart: 0 zoom in, 1 zoom out, 2 zoom rectangle,
// 3 move image, 4 reticule, 5 none. The toolbar chooses requestedMode; the
// chart takes it (appliedMode) when the pointer next moves over it, and
// drops back to 5 outside it, except in the reticule mode, whose read-out
// line stays.
class CSpectrumDisplayBase : public CReceiveData, private ChartPointerHandler {
public:
    explicit CSpectrumDisplayBase(QWidget* parent = nullptr);
    ~CSpectrumDisplayBase() override;

    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;

    virtual void CreateToolbar();
    virtual void InitChart();
    virtual void Redraw();
    virtual void CreatePeakPanel();
    virtual QPoint WindowToChart(QPoint at) const;
    // One tick of a running series.
    virtual void SeriesStep();
    // Saves the active device's spectrum; says so when it cannot.
    virtual void SaveSpectrum(const QString& path);
    virtual void OpenContinuous();
    virtual void CancelContinuous();
    virtual void Run();
    virtual void Stop();
    virtual void RunOnce();
    virtual void FitWindow();
    virtual void FitImage();
    virtual void FitVertical();
    virtual void StoreDark();
    virtual void Superposition();
    virtual void StoreReference();
    virtual void ShowRaw();
    // 0 when refused (a device without a dark spectrum, or no device).
    virtual int SubtractDark();
    virtual int StoreDarkAndSubtract();
    virtual void AddActiveSpectrum();
    // 1 when a series was started (after its settings dialog).
    virtual int StartSeries();
    virtual void LoadSpectrum();
    virtual void DeleteSpectra();
    virtual void ExtraCommand();
    void OnAxesReloaded(const ViewDevice& device) override;

    // The marking commands of the chart's menu (add at the read-out line,
    // add at the found peaks, delete all).
    void MarkingCommand(int command);

    CPlotara& Chart() { return chart; }
    ChartCanvas* Canvas() const { return canvas_; }
    CDislpayToolbarDlg* Toolbar() const { return toolbarDlg; }
    CSetPeakParamsDlg* PeakPanel() const { return peakPanel; }
    int RequestedMode() const { return requestedMode; }
    int AppliedMode() const { return appliedMode; }
    int ActiveDevice() const { return activeDevice; }
    const std::wstring& ActiveFileName() const { return activeFileName; }
    int XTypeCode() const { return xTypeCode; }
    int YTypeCode() const { return yTypeCode; }
    int AcquisitionCommand() const { return acquisitionCommand; }
    const SeriesRecorder& Series() const { return series; }
    QLabel* SeriesStatus() const { return seriesStatus; }

protected:
    void OnTimer(int id) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

    // Moves the canvas to chartOrigin with chartSize and tells the chart.
    void PlaceChart();
    // The record of a bound device, or none.
    ViewDevice* FindRecord(int number) const;
    // What the left button's release does after the chart had it.
    virtual void AfterLeftUp() {}
    // Binds the device (none: no device) as the page's first and sets the
    // chart up for it: region from the device's limits, its line active.
    void InitChartFor(const DeviceEntry* device);
    // X unit 0..5 for every bound device and the chart; 0 when refused.
    int SetXUnit(int type);
    // The chart's menu: the marking commands.
    void ChartContextMenu(QPoint globalAt) override;
    // Asks for a spectrum file and adds it as a file line named "%d %s";
    // the name, or empty when nothing was added.
    std::wstring OverlayChosenFile();

    QLineEdit* focusEdit;
    CPlotara chart;
    QPoint chartOrigin;
    QSize chartSize;
    CDislpayToolbarDlg* toolbarDlg;
    int activeDevice = 0;
    std::wstring activeFileName;
    CSetPeakParamsDlg* peakPanel = nullptr;
    int requestedMode = 5;
    int appliedMode = 5;
    bool autoPeakOn = false;
    int peakThreshold = 0;
    bool viewShown = false;
    bool keepProcessing = false;
    bool dragging = false;
    int overlayCounter = 0;
    int viewSuperposition = 1;
    SeriesRecorder series;
    // The running series' progress; the page places it.
    QLabel* seriesStatus;

private:
    LRESULT ToolbarCommand(int command, bool pressed);
    void MouseModeCommand(int mode, bool pressed);
    // A Y unit from the toolbar: needs a dark (and a reference) on every
    // bound device; Y range from the device `rangeFrom` picks.
    int ChangeYType(int type, bool needsReference, const ViewDevice* rangeFrom);
    int SetYUnit(int type);
    bool EveryDeviceHas(bool dark, bool reference) const;
    void SetYRegionKeepingX(double yMin, double yMax);
    void OpenCoordsDialog();
    void SetPeakSearch(bool on);
    LRESULT PeakSetting(int item, LPARAM value);
    void SetModeCursor(int mode);
    void LeaveChart();

    // The file commands: a path from the save dialog, the replace question
    // answered; empty when the user cancelled either.
    QString AskSavePath(const QString& filter, const QString& defaultSuffix);
    // The active device's record; without one, says that a device must be active.
    const ViewDevice* ActiveRecordOrTell();
    void SaveSpectrumCommand();
    void SaveBaseDeletedCommand();
    void SaveImageCommand();
    // As text, CSV or JCAMP-DX by the name's extension; a failed write is told.
    void WriteSpectrum(const QString& path, const ViewDevice& device, int count, const double* x, const double* y);
    void TellNotWritten(const std::wstring& path);
    void EndSeries(SeriesRecorder::Outcome outcome);
    // Hides the progress, and stops the processing a hidden page kept for the series.
    void AfterSeries();
    void ShowSeriesProgress();

    void ChartMouseMove(QPoint at) override;
    void ChartMouseLeave() override;
    void ChartMouseWheel(QPoint at, int delta) override;
    void ChartLeftDown(QPoint at) override;
    void ChartLeftUp(QPoint at) override;

    ChartCanvas* canvas_;
    bool peakPanelPlaced_ = false;
};

}  // namespace quenlix
