#include "TimeTraceDlg.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "Lexora.h"
#include "LineColorList.h"
#include "LocalTime.h"
#include "Prompts.h"
#include "ProcessValues.h"
#include "ReplayTexts.h"
#include "RubyPressure.h"
#include "SaveFailureMessage.h"
#include "SavingTexts.h"
#include "TraceBandFile.h"
#include "TraceCsv.h"
#include "TraceTexts.h"
#include "UiText.h"

namespace quenlix {
namespace {
constexpr int kRepaintMs = 100;
// Files read per tick of a replay: fast, yet the window stays responsive.
constexpr int kFilesPerTick = 25;
constexpr int kReplayTickMs = 10;
constexpr int kControlsHeight = 112;
constexpr int kReadOutHeight = 22;

// Band i's colour: the line colours after the first, which the device's
// spectrum takes.
uint32_t BandColor(int band) {
    if (lineColorList.empty()) return 255;
    auto it = lineColorList.begin();
    std::advance(it, static_cast<std::size_t>(band + 1) % lineColorList.size());
    return *it;
}

QString NumberText(double value) { return std::isfinite(value) ? QString::number(value, 'g', 7) : QStringLiteral("—"); }
}  // namespace

CTimeTraceDlg::CTimeTraceDlg(QWidget* parent)
    : CReceiveData(parent),
      rubyReferenceNm_(ReadRubyReferenceWavelength().value_or(kDefaultRubyReferenceNm)),
      deviceLabel_(new QLabel(this)),
      deviceChoice_(new QComboBox(this)),
      replayButton_(new QPushButton(this)),
      status_(new QLabel(this)),
      editor_(new TraceBandEditor(this)),
      timeAxisChoice_(new QComboBox(this)),
      spanLabel_(new QLabel(this)),
      spanMinutes_(new QSpinBox(this)),
      pauseButton_(new QPushButton(this)),
      clearButton_(new QPushButton(this)),
      exportButton_(new QPushButton(this)),
      chartCanvas_(new ChartCanvas(chart_, *this, this)),
      traceCanvas_(new TraceCanvas(plot_, this)),
      readOut_(new QLabel(this)) {
    const TraceBandSet saved = LoadTraceBands();
    xTypeCode = saved.xTypeCode;
    bands_ = saved.bands;
    editor_->SetBands(bands_);

    chart_.SetLineColorList(lineColorList);
    chart_.SetBkgColor(SystemButtonFaceColor());
    chart_.SetXAxisType(xTypeCode);
    chart_.SetAxisRegion(200, 1100, 0, 16500);
    std::list<uint32_t> bandColors;
    for (int i = 0; i < kMaxTraceBands; ++i) bandColors.push_back(BandColor(i));
    plot_.SetLineColorList(bandColors);
    plot_.SetBkgColor(SystemButtonFaceColor());
    ShowBandRegions();

    timeAxisChoice_->addItems({QString(), QString()});
    spanMinutes_->setRange(0, 24 * 60);
    spanMinutes_->setValue(10);

    connect(deviceChoice_, &QComboBox::activated, this, [this](int i) {
        if (i >= 0 && i < static_cast<int>(deviceList.size())) FollowDevice(deviceList[i].number);
    });
    connect(replayButton_, &QPushButton::clicked, this, [this] {
        const QString folder = CurrentPrompts().FolderName(this, OwnText(traceText_ReplayFolder));
        if (!folder.isEmpty()) ReplayFolder(folder);
    });
    editor_->SetChangedListener([this] { SetBands(editor_->Bands()); });
    connect(timeAxisChoice_, &QComboBox::currentIndexChanged, this, [this](int i) { SetTimeAxis(i); });
    connect(pauseButton_, &QPushButton::clicked, this, [this] { SetPaused(!paused_); });
    connect(clearButton_, &QPushButton::clicked, this, [this] { StartTrace(); });
    connect(exportButton_, &QPushButton::clicked, this, [this] { ExportCsvCommand(); });
    traceCanvas_->SetCursorListener([this] { ShowReadOut(); });

    FillDeviceChoice();
    StartTrace();
    if (!deviceList.empty()) FollowDevice(deviceList.front().number);
}

CTimeTraceDlg::~CTimeTraceDlg() { RemoveAllDevices(); }

LRESULT CTimeTraceDlg::OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SET_AXIS_UNIT) return 0;
    return CReceiveData::OnMessage(msg, wParam, lParam);
}

void CTimeTraceDlg::FillDeviceChoice() {
    deviceChoice_->clear();
    for (const DeviceEntry& entry : deviceList)
        deviceChoice_->addItem(OwnText(traceText_DeviceItem).arg(entry.number));
    for (int i = 0; i < static_cast<int>(deviceList.size()); ++i)
        if (deviceList[i].number == followed_) deviceChoice_->setCurrentIndex(i);
}

void CTimeTraceDlg::FollowDevice(int number) {
    if (replay_.Playing()) EndReplay();
    RemoveAllDevices();
    chart_.DeleteAllDeviceLine();
    chart_.DeleteAllFileLine();
    followed_ = number;
    AddDeviceByNumber(number);
    if (!deviceRecords.empty()) {
        const CKestrion* link = deviceRecords.front()->link;
        chart_.SetXAxisType(xTypeCode);
        chart_.SetAxisRegion(link->GetMinX(), link->GetMaxX(), link->GetMinY(), link->GetMaxY());
    }
    FillDeviceChoice();
    StartTrace();
    SetTimer(kAcquisitionTimer, AcquisitionInterval());
}

void CTimeTraceDlg::OnDeviceAdded(int number, int pointCount, const double* xBuffer,
                                  const std::wstring& serialNumber) {
    chart_.AddDeviceLine(number, pointCount, xBuffer, serialNumber);
}

void CTimeTraceDlg::OnAxesReloaded(const ViewDevice& device) {
    chart_.DeleteDeviceLine(device.number);
    chart_.AddDeviceLine(device.number, device.pointCount, device.xBuffer.data(), device.serialNumber);
}

void CTimeTraceDlg::OnNewSpectrum(int number, const double* yBuffer) {
    if (number != followed_) return;
    chart_.SetDeviceLineYData(number, yBuffer);
    if (paused_) return;
    for (const auto& device : deviceRecords) {
        if (device->number != number) continue;
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - traceStart_;
        AddPoint(elapsed.count(), device->lastFrameNo, device->xBuffer.data(), yBuffer, device->pointCount);
    }
}

void CTimeTraceDlg::OnIntegralTimeApplied() {
    if (HasTimer(kAcquisitionTimer)) SetTimer(kAcquisitionTimer, AcquisitionInterval());
}

void CTimeTraceDlg::AddPoint(double seconds, long frame, const double* x, const double* y, int count) {
    if (bands_.empty() || count <= 0) return;
    if (count >= 2 && x[0] > x[count - 1]) {
        // Wave numbers and the like run against the pixels.
        ascendingX_.resize(static_cast<std::size_t>(count));
        ascendingY_.resize(static_cast<std::size_t>(count));
        std::reverse_copy(x, x + count, ascendingX_.begin());
        std::reverse_copy(y, y + count, ascendingY_.begin());
        x = ascendingX_.data();
        y = ascendingY_.data();
    }
    ComputeBandValues(bands_, xTypeCode, rubyReferenceNm_, x, y, count, values_.data());
    record_.Append(seconds, frame, values_.data());
    frameAxis_.push_back(frameAxis_.empty() ? double(frame) : std::max(frameAxis_.back(), double(frame)));
}

void CTimeTraceDlg::StartTrace() {
    record_.Reset(static_cast<int>(bands_.size()));
    frameAxis_.clear();
    frameAxis_.reserve(record_.Seconds().capacity());
    traceStart_ = std::chrono::steady_clock::now();
    NameLanes();
    HandPlotData();
    ShowReadOut();
}

void CTimeTraceDlg::NameLanes() {
    for (int i = 0; i < static_cast<int>(bands_.size()); ++i)
        plot_.SetLineName(i, OwnText(traceText_Band).arg(i + 1) + QStringLiteral(": ") +
                                 BandQuantityName(bands_[i].quantity));
}

void CTimeTraceDlg::SetBands(const std::vector<TraceBand>& bands) {
    bands_.assign(bands.begin(), bands.begin() + std::min<std::size_t>(bands.size(), kMaxTraceBands));
    editor_->SetBands(bands_);
    ShowBandRegions();
    StartTrace();
    if (ValidTraceBands(bands_) && !SaveTraceBands({xTypeCode, bands_})) TellSaveFailure(this, kTraceBandsFile);
}

void CTimeTraceDlg::ShowBandRegions() {
    std::vector<CPlotara::BandRegion> regions;
    for (int i = 0; i < static_cast<int>(bands_.size()); ++i)
        regions.push_back({bands_[i].xFrom, bands_[i].xTo, BandColor(i)});
    chart_.SetBandRegions(regions);
}

void CTimeTraceDlg::SetPaused(bool paused) {
    paused_ = paused;
    if (replay_.Playing()) {
        if (paused) {
            KillTimer(kReplayTimer);
        } else {
            SetTimer(kReplayTimer, kReplayTickMs);
        }
    }
    pauseButton_->setText(OwnText(paused_ ? traceText_Resume : traceText_Pause));
}

void CTimeTraceDlg::SetTimeAxis(int axis) {
    timeAxis_ = axis == 1 ? 1 : 0;
    if (timeAxisChoice_->currentIndex() != timeAxis_) timeAxisChoice_->setCurrentIndex(timeAxis_);
    plot_.SetXTitle(OwnText(timeAxis_ == 0 ? traceText_Seconds : traceText_FrameNumber));
    HandPlotData();
}

// The arrays may have moved since the last point: handed again before
// every repaint. The span in frame numbers is that of the last minutes.
void CTimeTraceDlg::HandPlotData() {
    const int points = static_cast<int>(record_.Size());
    std::array<const double*, kMaxTraceBands> lines{};
    for (int i = 0; i < record_.BandCount(); ++i) lines[i] = record_.Values(i).data();
    const double* x = timeAxis_ == 0 ? record_.Seconds().data() : frameAxis_.data();
    plot_.SetData(x, points, lines.data(), record_.BandCount());
    const double seconds = 60.0 * spanMinutes_->value();
    if (seconds <= 0 || timeAxis_ == 0 || points == 0) {
        plot_.SetSpan(seconds);
        return;
    }
    const std::vector<double>& times = record_.Seconds();
    const auto first = std::lower_bound(times.begin(), times.end(), times.back() - seconds);
    plot_.SetSpan(std::max(frameAxis_.back() - frameAxis_[first - times.begin()], 1.0));
}

void CTimeTraceDlg::ShowReadOut() {
    const int point = plot_.CursorPoint();
    if (point < 0 || point >= static_cast<int>(record_.Size())) {
        readOut_->clear();
        return;
    }
    QString text = OwnText(traceText_ReadOut)
                       .arg(QString::number(record_.Seconds()[point], 'f', 3))
                       .arg(record_.Frames()[point]);
    for (int i = 0; i < record_.BandCount(); ++i)
        text += QStringLiteral("    ") + OwnText(traceText_Band).arg(i + 1) + QStringLiteral(": ") +
                NumberText(record_.Values(i)[point]);
    readOut_->setText(text);
}

bool CTimeTraceDlg::ReplayFolder(const QString& folder) {
    if (!replay_.Start(folder)) {
        CurrentPrompts().MessageBox(this, OwnText(replayText_NoFiles).arg(folder), Text(strGeneral_MsgboxPrompt),
                                    Prompts::Buttons::Ok);
        return false;
    }
    KillTimer(kAcquisitionTimer);
    RemoveAllDevices();
    chart_.DeleteAllDeviceLine();
    followed_ = -1;
    deviceChoice_->setCurrentIndex(-1);
    StartTrace();
    if (!paused_) SetTimer(kReplayTimer, kReplayTickMs);
    return true;
}

void CTimeTraceDlg::ReplayStep() {
    const SpectrumReplay::Spectrum* shown = nullptr;
    for (int k = 0; k < kFilesPerTick && replay_.Playing(); ++k) {
        const SpectrumReplay::Step step = replay_.Next();
        if (step == SpectrumReplay::Step::Gone) break;
        if (step == SpectrumReplay::Step::Shown) {
            shown = &replay_.Current();
            // Files without a readable saving time keep the time of the one before.
            const double before = record_.Size() > 0 ? record_.Seconds().back() : 0;
            double seconds = before;
            if (const auto at = scrivona::SavingTimeSeconds(shown->savingTime)) {
                if (record_.Size() == 0) replayFirstSecond_ = *at;
                seconds = std::max(before, static_cast<double>(*at - replayFirstSecond_));
            }
            AddPoint(seconds, replay_.Position(), shown->x.data(), shown->y.data(),
                     static_cast<int>(shown->x.size()));
        }
        if (replay_.AtEnd()) break;
    }
    if (shown) {
        const bool first = chart_.GetFileLineCount() == 0;
        chart_.DeleteAllFileLine();
        chart_.SetXAxisType(shown->xType);
        chart_.SetYAxisType(shown->yType);
        chart_.AddFileLine(0, static_cast<int>(shown->x.size()), shown->x.data(), shown->y.data(), shown->path);
        if (first && replay_.LastRanges()) {
            const SpectrumReplay::Ranges& r = *replay_.LastRanges();
            chart_.SetAxisRegion(r.xFirst, r.xLast, r.yMin, r.yMax);
        }
    }
    if (replay_.AtEnd() || !replay_.Playing()) {
        EndReplay();
        return;
    }
    status_->setText(OwnText(traceText_Replaying).arg(replay_.Folder()).arg(replay_.Position()).arg(replay_.FileCount()));
}

void CTimeTraceDlg::EndReplay() {
    KillTimer(kReplayTimer);
    status_->setText(OwnText(traceText_Replayed).arg(replay_.Folder()).arg(replay_.ShownCount()).arg(replay_.SkippedCount()));
    replay_.End();
}

void CTimeTraceDlg::ExportCsvCommand() {
    const QString path = CurrentPrompts().SaveFileName(this, OwnText(traceText_ExportCsv),
                                                       OwnText(traceText_CsvFilter), QStringLiteral("csv"));
    if (path.isEmpty()) return;
    if (QFileInfo::exists(path) &&
        CurrentPrompts().MessageBox(this, Text(strGeneral_IfReplaceFile), QString(), Prompts::Buttons::OkCancel) !=
            Prompts::Answer::Ok)
        return;
    if (!WriteTraceCsv(path.toStdString(), bands_, xTypeCode, record_))
        CurrentPrompts().MessageBox(this, OwnText(savingText_FileNotWritten).arg(path), Text(strGeneral_MsgboxWrong),
                                    Prompts::Buttons::Ok);
}

void CTimeTraceDlg::OnTimer(int id) {
    switch (id) {
        case kAcquisitionTimer:
            PullFrames();
            break;
        case kReplayTimer:
            ReplayStep();
            break;
        case kRepaintTimer:
            HandPlotData();
            ShowReadOut();
            chartCanvas_->update();
            traceCanvas_->update();
            break;
        default:
            break;
    }
}

void CTimeTraceDlg::showEvent(QShowEvent*) { SetTimer(kRepaintTimer, kRepaintMs); }
void CTimeTraceDlg::hideEvent(QHideEvent*) { KillTimer(kRepaintTimer); }

void CTimeTraceDlg::ApplyLanguage(int index) {
    nameLabel->setText(Text(strMainDlg_SpecRegion_SpecTab_SetTabName));
    deviceLabel_->setText(OwnText(traceText_Device));
    FillDeviceChoice();
    replayButton_->setText(OwnText(traceText_ReplayFolder));
    editor_->ApplyLanguage();
    timeAxisChoice_->setItemText(0, OwnText(traceText_Seconds));
    timeAxisChoice_->setItemText(1, OwnText(traceText_FrameNumber));
    spanLabel_->setText(OwnText(traceText_LastMinutes));
    spanMinutes_->setSpecialValueText(OwnText(traceText_AllMinutes));
    spanMinutes_->setSuffix(OwnText(traceText_MinutesSuffix));
    pauseButton_->setText(OwnText(paused_ ? traceText_Resume : traceText_Pause));
    clearButton_->setText(OwnText(traceText_Clear));
    exportButton_->setText(OwnText(traceText_ExportCsv));
    chart_.SetUsingLanguage(index);
    SetTimeAxis(timeAxis_);
    NameLanes();
    ShowReadOut();
}

void CTimeTraceDlg::resizeEvent(QResizeEvent*) { Layout(); }

void CTimeTraceDlg::Layout() {
    const int w = width(), h = height();
    const int top = PlaceTopRow();
    deviceLabel_->setGeometry(8, 0, 50, top);
    deviceChoice_->setGeometry(60, 0, 110, top);
    replayButton_->setGeometry(176, 0, 130, top);
    status_->setGeometry(312, 0, std::max(0, nameLabel->x() - 320), top);
    const int rightColumn = 190;
    editor_->setGeometry(0, top, std::max(0, w - rightColumn), kControlsHeight);
    const int cx = w - rightColumn + 4, cw = rightColumn - 12;
    timeAxisChoice_->setGeometry(cx, top + 2, cw, 24);
    spanLabel_->setGeometry(cx, top + 30, 70, 24);
    spanMinutes_->setGeometry(cx + 72, top + 30, cw - 72, 24);
    pauseButton_->setGeometry(cx, top + 58, cw / 2 - 2, 24);
    clearButton_->setGeometry(cx + cw / 2 + 2, top + 58, cw / 2 - 2, 24);
    exportButton_->setGeometry(cx, top + 86, cw, 24);
    const int chartTop = top + kControlsHeight;
    const int free = std::max(0, h - chartTop - kReadOutHeight);
    const int chartHeight = free * 2 / 5;
    chartCanvas_->setGeometry(0, chartTop, w, chartHeight);
    chart_.SetPlotaraRect(w, chartHeight);
    traceCanvas_->setGeometry(0, chartTop + chartHeight, w, free - chartHeight);
    readOut_->setGeometry(8, h - kReadOutHeight, std::max(0, w - 16), kReadOutHeight);
}

void CTimeTraceDlg::ChartMouseMove(QPoint at) {
    const QPoint p = at - chartCanvas_->pos();
    if (draggedEdge_ >= 0) {
        chart_.DragBandEdge(draggedEdge_, p.x());
        chartCanvas_->update();
        return;
    }
    if (chart_.HitBandEdge(p.x(), p.y()) >= 0) {
        chartCanvas_->setCursor(Qt::SizeHorCursor);
    } else {
        chartCanvas_->unsetCursor();
    }
}

void CTimeTraceDlg::ChartMouseLeave() { chartCanvas_->unsetCursor(); }

void CTimeTraceDlg::ChartMouseWheel(QPoint at, int delta) {
    const QPoint p = at - chartCanvas_->pos();
    chart_.MouseWheel(p.x(), p.y(), delta > 0 ? 1 : -1);
    chartCanvas_->update();
}

void CTimeTraceDlg::ChartLeftDown(QPoint at) {
    const QPoint p = at - chartCanvas_->pos();
    draggedEdge_ = chart_.HitBandEdge(p.x(), p.y());
}

// A dragged edge becomes the band's: the trace starts afresh with it.
void CTimeTraceDlg::ChartLeftUp(QPoint at) {
    if (draggedEdge_ < 0) return;
    ChartMouseMove(at);
    draggedEdge_ = -1;
    std::vector<TraceBand> bands = bands_;
    const auto& regions = chart_.BandRegions();
    for (std::size_t i = 0; i < bands.size() && i < regions.size(); ++i) {
        bands[i].xFrom = regions[i].from;
        bands[i].xTo = regions[i].to;
    }
    SetBands(bands);
}

}  // namespace quenlix
