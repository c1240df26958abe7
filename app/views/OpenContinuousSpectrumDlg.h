#pragma once

#include <QLabel>
#include <functional>

#include "SpectrumDisplayBase.h"
#include "SpectrumReplay.h"

namespace quenlix {

// The series replay page: plays a folder of spectrum files back one file per
// interval on its chart, like a slow film of spectra. It binds no device.
// "Open Continuous Spectrum" asks for the folder and the interval and starts;
// run, stop and scan once resume, pause and show one more file; "End Opening"
// ends. The three fitting commands use the ranges of the file shown last.
// The line above the toolbar tells the file shown and, at the end, how many
// files were shown and skipped.
//
// States: idle (no listing), playing (timer running), paused (listing open,
// timer stopped), single step (timer running, acquisitionCommand 2: back to
// paused after one file).
class COpenContinuousSpectrumDlg : public CSpectrumDisplayBase {
public:
    // The timer whose every tick takes the next file.
    static constexpr int kPlaybackTimer = 3;

    explicit COpenContinuousSpectrumDlg(QWidget* parent = nullptr);
    ~COpenContinuousSpectrumDlg() override;

    // Axis units chosen in the menu are refused: each file brings its own.
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;
    void ApplyLanguage(int index) override;
    void InitChart() override;
    void OpenContinuous() override;
    void CancelContinuous() override;
    void Run() override;
    void Stop() override;
    void RunOnce() override;
    void FitWindow() override;
    void FitImage() override;
    void FitVertical() override;

    int IntervalMs() const { return intervalMs; }
    bool PlaybackIdle() const { return !replay.Playing(); }
    const SpectrumReplay& Replay() const { return replay; }
    QLabel* PlaybackStatus() const { return playbackStatus; }

protected:
    void OnTimer(int id) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // One interval: the next file on the chart, or the end.
    void PlaybackStep();
    void ShowSpectrum(const SpectrumReplay::Spectrum& spectrum);
    // Stops the timer, closes the listing and tells how it went.
    void EndPlayback(bool filesGone);
    // Shows a text made now and again whenever the language changes.
    void ShowStatus(std::function<QString()> text);
    void Layout();

    int intervalMs = 500;
    SpectrumReplay replay;
    QLabel* playbackStatus;
    std::function<QString()> statusText;
};

}  // namespace quenlix
