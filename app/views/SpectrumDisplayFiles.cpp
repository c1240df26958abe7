// The view's commands that move spectra between the chart, the devices and
// files: single saves, chart images, overlays and timed series.

#include <QFileInfo>
#include <vector>

#include "DataFileLoad.h"
#include "Lexora.h"
#include "Prompts.h"
#include "SaveSerialSpectrumDataSettingDlg.h"
#include "SavingTexts.h"
#include "SpectrumDisplayBase.h"
#include "SpectrumFileFormat.h"
#include "SpectrumFileWriter.h"
#include "UiText.h"

namespace quenlix {
namespace {

const QString kTextFilter = QStringLiteral("TEXT(*.txt)");
// The program's text files and the exports other programs read.
const QString kSpectrumFilter = QStringLiteral("TEXT(*.txt);;CSV (*.csv);;JCAMP-DX (*.jdx *.dx)");
const QString kImageFilter = QStringLiteral("JPEG(*.jpg *.jpeg);;BMP(*.bmp);;PNG(*.png)");

QString DialogTitle() { return Text(strMainDlg_SpecRegion_SpecDis_SaveImageWindowText); }

}  // namespace

QString CSpectrumDisplayBase::AskSavePath(const QString& filter, const QString& defaultSuffix) {
    const QString path = CurrentPrompts().SaveFileName(this, DialogTitle(), filter, defaultSuffix);
    if (path.isEmpty()) return path;
    if (QFileInfo::exists(path) &&
        CurrentPrompts().MessageBox(this, Text(strGeneral_IfReplaceFile), QString(), Prompts::Buttons::OkCancel) !=
            Prompts::Answer::Ok)
        return QString();
    return path;
}

const ViewDevice* CSpectrumDisplayBase::ActiveRecordOrTell() {
    const ViewDevice* device = FindRecord(activeDevice);
    if (!device)
        CurrentPrompts().MessageBox(this, OwnText(savingText_NoActiveDevice), Text(strGeneral_MsgboxPrompt),
                                    Prompts::Buttons::Ok);
    return device;
}

void CSpectrumDisplayBase::SaveSpectrumCommand() {
    if (!ActiveRecordOrTell()) return;
    const QString path = AskSavePath(kSpectrumFilter, QStringLiteral("txt"));
    if (!path.isEmpty()) SaveSpectrum(path);
}

void CSpectrumDisplayBase::SaveSpectrum(const QString& path) {
    const ViewDevice* device = FindRecord(activeDevice);
    if (!device) return;
    WriteSpectrum(path, *device, device->pointCount, device->xBuffer.data(), device->yBuffer.data());
}

void CSpectrumDisplayBase::SaveBaseDeletedCommand() {
    if (!ActiveRecordOrTell()) return;
    const QString path = AskSavePath(kSpectrumFilter, QStringLiteral("txt"));
    if (path.isEmpty()) return;
    const ViewDevice* device = FindRecord(activeDevice);
    if (!device) return;
    const int count = chart.GetPeakDeleteBasePixelCount();
    if (count <= 0 || !chart.HasPeakDeleteBaseData()) {
        CurrentPrompts().MessageBox(this, OwnText(savingText_NoBaseDeleted), Text(strGeneral_MsgboxPrompt),
                                    Prompts::Buttons::Ok);
        return;
    }
    std::vector<double> x(count), y(count);
    int copied = count;
    chart.GetPeakDeleteBaseData(x.data(), y.data(), copied);
    WriteSpectrum(path, *device, count, x.data(), y.data());
}

void CSpectrumDisplayBase::WriteSpectrum(const QString& path, const ViewDevice& device, int count, const double* x,
                                         const double* y) {
    const std::wstring name = path.toStdWString();
    bool written = false;
    switch (FormatOfFileName(path)) {
        case SpectrumFileFormat::Csv: written = scrivona::WriteCsvFile(name, ExportedFrom(device, count, x, y)); break;
        case SpectrumFileFormat::JcampDx:
            written = scrivona::WriteJcampDxFile(name, ExportedFrom(device, count, x, y));
            break;
        case SpectrumFileFormat::Text: {
            CDataFileSave writer;
            PrepareSpectrumWriter(writer, device, count, peakThreshold, languageIndex);
            written = writer.SaveSingleData(name, x, y) == 1;
            break;
        }
    }
    if (!written) TellNotWritten(name);
}

void CSpectrumDisplayBase::TellNotWritten(const std::wstring& path) {
    CurrentPrompts().MessageBox(this, OwnText(savingText_FileNotWritten).arg(QString::fromStdWString(path)),
                                Text(strGeneral_MsgboxWrong), Prompts::Buttons::Ok);
}

void CSpectrumDisplayBase::SaveImageCommand() {
    const QString path = AskSavePath(kImageFilter, QStringLiteral("jpg"));
    if (!path.isEmpty()) chart.SaveImage(path.toStdWString());
}

void CSpectrumDisplayBase::AddActiveSpectrum() {
    const ViewDevice* device = FindRecord(activeDevice);
    if (!device) return;
    const std::wstring name = L"Line " + std::to_wstring(overlayCounter);
    ++overlayCounter;
    std::vector<double> x(device->pointCount), y(device->pointCount);
    device->preprocessor->GetXData(x.data());
    device->preprocessor->GetYData(y.data());
    chart.AddFileLine(100, device->pointCount, x.data(), y.data(), name);
}

void CSpectrumDisplayBase::LoadSpectrum() { OverlayChosenFile(); }

std::wstring CSpectrumDisplayBase::OverlayChosenFile() {
    const QString path = CurrentPrompts().OpenFileName(this, DialogTitle(), kTextFilter);
    if (path.isEmpty()) return {};
    CDataFileLoad reader;
    if (reader.SetLoadingSingleDataFilePath(path.toStdWString()) != 1) {
        CurrentPrompts().MessageBox(this, OwnText(savingText_NotSpectrumFile).arg(path), Text(strGeneral_MsgboxWrong),
                                    Prompts::Buttons::Ok);
        return {};
    }
    const std::wstring name = std::to_wstring(overlayCounter) + L" " + QFileInfo(path).fileName().toStdWString();
    ++overlayCounter;
    const int count = reader.GetPixelCount();
    std::vector<double> x(count), y(count);
    reader.LoadSingleData(x.data(), y.data());
    chart.AddFileLine(chart.GetFileLineCount(), count, x.data(), y.data(), name);
    return name;
}

void CSpectrumDisplayBase::DeleteSpectra() {
    const auto answer =
        CurrentPrompts().MessageBox(this, Text(strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnDeleteSpec),
                                    QString(), Prompts::Buttons::OkCancel);
    if (answer != Prompts::Answer::Ok) return;
    chart.DeleteAllFileLine();
    overlayCounter = 0;
}

int CSpectrumDisplayBase::StartSeries() {
    if (!ActiveRecordOrTell()) return 0;
    SeriesSettings settings;
    {
        // The dialog writes its settings file when it goes, however it ended.
        CSaveSerialSpectrumDataSettingDlg dialog(this);
        if (CurrentPrompts().RunModal(dialog) != QDialog::Accepted) return 0;
        settings.saveMode = dialog.SaveMode();
        settings.intervalCount = dialog.IntervalCount();
        settings.intervalTimeMs = dialog.IntervalTimeMs();
        settings.stopMode = dialog.StopMode();
        settings.saveCount = dialog.SaveCount();
        settings.saveLengthMs = dialog.SaveLengthMs();
        settings.folder = dialog.FileDir();
        settings.prefix = dialog.Prefix();
        settings.includeTime = dialog.IncludeTime();
        settings.includeMs = dialog.IncludeMs();
        settings.fillCount = dialog.FillCount();
    }
    const ViewDevice* device = FindRecord(activeDevice);
    if (!device) return 0;
    if (!series.Start(settings, *device, peakThreshold)) {
        CurrentPrompts().MessageBox(this, OwnText(savingText_SeriesFolderMissing).arg(QString::fromStdWString(settings.folder)),
                                    Text(strGeneral_MsgboxWrong), Prompts::Buttons::Ok);
        return 0;
    }
    ShowSeriesProgress();
    return 1;
}

void CSpectrumDisplayBase::SeriesStep() {
    if (!series.On()) return;
    const int savedBefore = series.Saved();
    const long long secondsBefore = series.ElapsedMs() / 1000;
    const ViewDevice* device = FindRecord(series.DeviceNumber());
    // A device gone in a rescan saves nothing until it is back.
    if (!device) return;
    const SeriesRecorder::Outcome outcome = series.Step(*device);
    if (outcome != SeriesRecorder::Outcome::Running) {
        EndSeries(outcome);
    } else if (series.Saved() != savedBefore || series.ElapsedMs() / 1000 != secondsBefore) {
        ShowSeriesProgress();
    }
}

void CSpectrumDisplayBase::EndSeries(SeriesRecorder::Outcome outcome) {
    toolbarDlg->ReleaseSeriesButton();
    AfterSeries();
    if (outcome == SeriesRecorder::Outcome::Failed) {
        const QString text = OwnText(savingText_SeriesFailed)
                                 .arg(QString::fromStdWString(series.FailedFile()))
                                 .arg(series.Saved());
        CurrentPrompts().MessageBox(this, text, Text(strGeneral_MsgboxWrong), Prompts::Buttons::Ok);
    } else {
        CurrentPrompts().MessageBox(this, Text(strMainDlg_SpecRegion_SpecDis_SaveEnd), Text(strGeneral_MsgboxPrompt),
                                    Prompts::Buttons::Ok);
    }
}

void CSpectrumDisplayBase::ShowSeriesProgress() {
    if (!series.On()) {
        seriesStatus->hide();
        return;
    }
    const SeriesSettings& settings = series.Settings();
    const QString folder = QString::fromStdWString(settings.folder);
    const long long seconds = series.ElapsedMs() / 1000;
    QString text;
    if (settings.stopMode == 1) {
        text = OwnText(savingText_SeriesByCount).arg(series.Saved()).arg(settings.saveCount).arg(folder);
    } else if (settings.stopMode == 2) {
        text = OwnText(savingText_SeriesByTime)
                   .arg(series.Saved())
                   .arg(seconds)
                   .arg(settings.saveLengthMs / 1000)
                   .arg(folder);
    } else {
        text = OwnText(savingText_SeriesOpenEnded).arg(series.Saved()).arg(seconds).arg(folder);
    }
    seriesStatus->setText(text);
    seriesStatus->show();
}

}  // namespace quenlix
