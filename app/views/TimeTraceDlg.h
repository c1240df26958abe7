#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <array>
#include <chrono>
#include <vector>

#include "BandQuantities.h"
#include "ChartCanvas.h"
#include "Plotara.h"
#include "ReceiveData.h"
#include "SpectrumReplay.h"
#include "TraceBandEditor.h"
#include "TraceCanvas.h"
#include "TracePlot.h"
#include "TraceRecord.h"

namespace quenlix {

// The time trace page: follows up to four bands of one device's spectra
// over time. The device's live spectrum is drawn above with the bands as
// shaded regions whose edges the pointer drags; below it the trace, one
// lane per band, against seconds since the trace started or frame number.
// Each averaged spectrum the page's session completes adds one point (no
// frames of its own are pulled); pausing drops the spectra until resumed.
// Instead of a device the page can run over a saved series folder, one
// point per spectrum file, timed by the files' saving times (whole seconds,
// as the files keep them) and numbered by their order. The bands are kept
// in the settings folder whenever they change and a new page starts with
// them; changing the bands starts the trace afresh.
class CTimeTraceDlg : public CReceiveData, private ChartPointerHandler {
public:
    static constexpr int kRepaintTimer = 1;
    static constexpr int kAcquisitionTimer = 2;
    static constexpr int kReplayTimer = 3;

    explicit CTimeTraceDlg(QWidget* parent = nullptr);
    ~CTimeTraceDlg() override;

    // Axis units chosen in the menu are refused: the bands are in the page's unit.
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;
    void ApplyLanguage(int index) override;
    void OnDeviceAdded(int number, int pointCount, const double* xBuffer,
                       const std::wstring& serialNumber) override;
    void OnAxesReloaded(const ViewDevice& device) override;
    void OnNewSpectrum(int number, const double* yBuffer) override;
    void OnIntegralTimeApplied() override;

    // Follows the device with that number (of the device list), ending a replay.
    void FollowDevice(int number);
    // Runs over the folder's spectrum files; false, and told, when it holds none.
    bool ReplayFolder(const QString& folder);
    // The bands from now on (also into the editor and the settings file); the trace starts afresh.
    void SetBands(const std::vector<TraceBand>& bands);
    void SetPaused(bool paused);
    // 0 seconds, 1 frame number.
    void SetTimeAxis(int axis);
    // Asks for a file and writes the trace as CSV; a failed write is told.
    void ExportCsvCommand();

    const std::vector<TraceBand>& Bands() const { return bands_; }
    const TraceRecord& Record() const { return record_; }
    bool Paused() const { return paused_; }
    bool Replaying() const { return replay_.Playing(); }
    CPlotara& Chart() { return chart_; }
    TracePlot& Plot() { return plot_; }
    TraceBandEditor* Editor() const { return editor_; }
    ChartCanvas* ChartView() const { return chartCanvas_; }
    TraceCanvas* PlotCanvas() const { return traceCanvas_; }
    QComboBox* DeviceChoice() const { return deviceChoice_; }
    QLabel* ReadOut() const { return readOut_; }
    QLabel* Status() const { return status_; }

protected:
    void OnTimer(int id) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // One point from a spectrum (x ascending or descending).
    void AddPoint(double seconds, long frame, const double* x, const double* y, int count);
    void StartTrace();
    // "Band n: quantity" over each band's lane.
    void NameLanes();
    void ReplayStep();
    void EndReplay();
    // The bands as the chart's shaded regions.
    void ShowBandRegions();
    void HandPlotData();
    void ShowReadOut();
    void FillDeviceChoice();
    void Layout();

    void ChartMouseMove(QPoint at) override;
    void ChartMouseLeave() override;
    void ChartMouseWheel(QPoint at, int delta) override;
    void ChartLeftDown(QPoint at) override;
    void ChartLeftUp(QPoint at) override;
    void ChartContextMenu(QPoint) override {}

    std::vector<TraceBand> bands_;
    double rubyReferenceNm_;
    TraceRecord record_;
    // Frame numbers as the plot's X, kept beside the record; never decreasing.
    std::vector<double> frameAxis_;
    std::chrono::steady_clock::time_point traceStart_;
    std::array<double, kMaxTraceBands> values_{};
    // A descending spectrum turned ascending for the computation.
    std::vector<double> ascendingX_, ascendingY_;
    bool paused_ = false;
    int timeAxis_ = 0;
    int followed_ = -1;  // device number
    SpectrumReplay replay_;
    long long replayFirstSecond_ = 0;
    int draggedEdge_ = -1;

    CPlotara chart_;
    TracePlot plot_;
    QLabel* deviceLabel_;
    QComboBox* deviceChoice_;
    QPushButton* replayButton_;
    QLabel* status_;
    TraceBandEditor* editor_;
    QComboBox* timeAxisChoice_;
    QLabel* spanLabel_;
    QSpinBox* spanMinutes_;
    QPushButton* pauseButton_;
    QPushButton* clearButton_;
    QPushButton* exportButton_;
    ChartCanvas* chartCanvas_;
    TraceCanvas* traceCanvas_;
    QLabel* readOut_;
};

}  // namespace quenlix
