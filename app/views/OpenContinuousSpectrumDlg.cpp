#include "OpenContinuousSpectrumDlg.h"

#include <QFileInfo>
#include <algorithm>

#include "Lexora.h"
#include "LineColorList.h"
#include "OpenContinuousSettingDlg.h"
#include "Prompts.h"
#include "ReplayTexts.h"
#include "UiText.h"

namespace quenlix {
namespace {
constexpr int kToolbarHeight = 50;
constexpr double kFullScaleCounts = 16500;
}  // namespace

COpenContinuousSpectrumDlg::COpenContinuousSpectrumDlg(QWidget* parent)
    : CSpectrumDisplayBase(parent), playbackStatus(new QLabel(this)) {
    toolbarDlg->SetLayout(kLayoutContinuousViewer);
    CreateToolbar();
    InitChart();
    CreatePeakPanel();
    // The active line is the file shown, never a device.
    activeDevice = -1;
}

COpenContinuousSpectrumDlg::~COpenContinuousSpectrumDlg() = default;

LRESULT COpenContinuousSpectrumDlg::OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SET_AXIS_UNIT) return 0;
    return CSpectrumDisplayBase::OnMessage(msg, wParam, lParam);
}

void COpenContinuousSpectrumDlg::InitChart() {
    chart.SetAxisRegion(200, 1100, 0, kFullScaleCounts);
    chart.SetLineColorList(lineColorList);
    chart.SetBkgColor(SystemButtonFaceColor());
    chart.SetDisplayPeakX(true);
}

void COpenContinuousSpectrumDlg::OpenContinuous() {
    QString folder;
    {
        COpenContinuousSettingDlg dialog(intervalMs, this);
        if (CurrentPrompts().RunModal(dialog) != QDialog::Accepted) return;
        intervalMs = dialog.IntervalMs();
        folder = dialog.SpectrumDir();
    }
    if (!replay.Start(folder)) {
        // A playback under way goes on.
        CurrentPrompts().MessageBox(this, OwnText(replayText_NoFiles).arg(folder),
                                    Text(strGeneral_MsgboxPrompt), Prompts::Buttons::Ok);
        return;
    }
    acquisitionCommand = 0;
    ShowStatus({});
    SetTimer(kPlaybackTimer, intervalMs);
}

void COpenContinuousSpectrumDlg::CancelContinuous() {
    if (replay.Playing()) EndPlayback(false);
}

void COpenContinuousSpectrumDlg::Run() {
    if (!replay.Playing()) return;
    CSpectrumDisplayBase::Run();
    SetTimer(kPlaybackTimer, intervalMs);
}

void COpenContinuousSpectrumDlg::Stop() {
    CSpectrumDisplayBase::Stop();
    KillTimer(kPlaybackTimer);
}

void COpenContinuousSpectrumDlg::RunOnce() {
    if (!replay.Playing()) return;
    CSpectrumDisplayBase::RunOnce();
    SetTimer(kPlaybackTimer, intervalMs);
}

void COpenContinuousSpectrumDlg::FitWindow() {
    const auto& ranges = replay.LastRanges();
    if (ranges) chart.SetAxisRegion(ranges->xFirst, ranges->xLast, 0, kFullScaleCounts);
}

void COpenContinuousSpectrumDlg::FitImage() {
    const auto& ranges = replay.LastRanges();
    if (ranges) chart.SetAxisRegion(ranges->xFirst, ranges->xLast, ranges->yMin, ranges->yMax);
}

void COpenContinuousSpectrumDlg::FitVertical() {
    const auto& ranges = replay.LastRanges();
    if (!ranges) return;
    double xMin, xMax;
    chart.GetXRegion(xMin, xMax);
    chart.SetAxisRegion(xMin, xMax, ranges->yMin, ranges->yMax);
}

void COpenContinuousSpectrumDlg::OnTimer(int id) {
    if (id == kPlaybackTimer) {
        PlaybackStep();
    } else {
        CSpectrumDisplayBase::OnTimer(id);
    }
}

void COpenContinuousSpectrumDlg::PlaybackStep() {
    if (!replay.Playing()) return;
    switch (replay.Next()) {
        case SpectrumReplay::Step::Shown:
            ShowSpectrum(replay.Current());
            break;
        case SpectrumReplay::Step::Skipped:
            break;
        case SpectrumReplay::Step::Gone:
            EndPlayback(true);
            return;
    }
    if (replay.AtEnd()) {
        EndPlayback(false);
    } else if (acquisitionCommand == 2) {
        KillTimer(kPlaybackTimer);
        acquisitionCommand = 1;
    }
}

void COpenContinuousSpectrumDlg::ShowSpectrum(const SpectrumReplay::Spectrum& spectrum) {
    chart.DeleteAllFileLine();
    chart.SetXAxisType(spectrum.xType);
    chart.SetYAxisType(spectrum.yType);
    chart.AddFileLine(0, static_cast<int>(spectrum.x.size()), spectrum.x.data(), spectrum.y.data(),
                      spectrum.path);
    activeFileName = spectrum.path;
    chart.SetActiveSpectrum(-1, activeFileName);
    const int position = replay.Position();
    const int count = replay.FileCount();
    const QString name = QFileInfo(QString::fromStdWString(spectrum.path)).fileName();
    ShowStatus(
        [position, count, name] { return OwnText(replayText_Position).arg(position).arg(count).arg(name); });
}

void COpenContinuousSpectrumDlg::EndPlayback(bool filesGone) {
    KillTimer(kPlaybackTimer);
    const QString folder = replay.Folder();
    const int shown = replay.ShownCount();
    const int skipped = replay.SkippedCount();
    replay.End();
    if (filesGone) {
        ShowStatus([folder, shown, skipped] {
            return OwnText(replayText_Gone).arg(folder).arg(shown).arg(skipped);
        });
    } else {
        ShowStatus([shown, skipped] { return OwnText(replayText_Ended).arg(shown).arg(skipped); });
    }
}

void COpenContinuousSpectrumDlg::ShowStatus(std::function<QString()> text) {
    statusText = std::move(text);
    playbackStatus->setText(statusText ? statusText() : QString());
    playbackStatus->setToolTip(playbackStatus->text());
}

void COpenContinuousSpectrumDlg::ApplyLanguage(int index) {
    nameLabel->setText(Text(strMainDlg_SpecRegion_SpecTab_SetTabName));
    if (peakPanel) peakPanel->ApplyLanguage(index);
    chart.SetUsingLanguage(index);
    ShowStatus(statusText);
}

void COpenContinuousSpectrumDlg::resizeEvent(QResizeEvent*) { Layout(); }

void COpenContinuousSpectrumDlg::Layout() {
    const int w = width();
    const int h = height();
    const int top = PlaceTopRow();
    playbackStatus->setGeometry(8, 0, std::max(0, nameLabel->x() - 16), top);
    toolbarDlg->setGeometry(0, top, w, kToolbarHeight);
    chartOrigin = QPoint(0, top + kToolbarHeight);
    chartSize = QSize(w, std::max(0, h - top - kToolbarHeight));
    PlaceChart();
}

}  // namespace quenlix
