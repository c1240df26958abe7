#include "SeriesRecorder.h"

#include "ProcessValues.h"
#include "SpectrumFileWriter.h"

namespace quenlix {

SeriesRecorder::SeriesRecorder() : SeriesRecorder([] { return std::chrono::steady_clock::now(); }) {}

SeriesRecorder::SeriesRecorder(Clock clock) : clock_(std::move(clock)) {}

bool SeriesRecorder::Start(const SeriesSettings& settings, const ViewDevice& device, int reserve0) {
    on_ = false;
    std::wstring folder = settings.folder;
    PrepareSpectrumWriter(writer_, device, device.pointCount, reserve0, languageIndex);
    if (writer_.SetSavingSeqDataFileNameInfo(folder, settings.prefix, settings.fillCount) != 1) return false;
    writer_.SetSavingSeqDataFileNameIncludeTime(settings.includeTime, settings.includeMs);
    writer_.ResetSerNum(0);
    settings_ = settings;
    settings_.folder = folder;
    deviceNumber_ = device.number;
    lastDataNo_ = device.preprocessor->GetDataNo();
    spectraToNextSave_ = 0;
    msToNextSave_ = 0;
    saved_ = 0;
    elapsedMs_ = 0;
    startedAt_ = clock_();
    on_ = true;
    return true;
}

SeriesRecorder::Outcome SeriesRecorder::Step(const ViewDevice& device) {
    if (!on_) return Outcome::Finished;
    const long dataNo = device.preprocessor->GetDataNo();
    const long long elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(clock_() - startedAt_).count();
    const long long sinceLastTick = elapsed - elapsedMs_;
    elapsedMs_ = elapsed;

    bool save = false;
    switch (settings_.saveMode) {
        case 0:
            save = dataNo > lastDataNo_;
            if (save) lastDataNo_ = dataNo;
            break;
        case 1:
            spectraToNextSave_ -= dataNo - lastDataNo_;
            lastDataNo_ = dataNo;
            save = spectraToNextSave_ <= 0;
            if (save) spectraToNextSave_ = settings_.intervalCount;
            break;
        case 2:
            msToNextSave_ -= sinceLastTick;
            lastDataNo_ = dataNo;
            save = msToNextSave_ <= 0;
            if (save) msToNextSave_ = settings_.intervalTimeMs;
            break;
        default:
            break;
    }
    if (save) {
        writer_.SetSaturatedPixels(device.spectrumSaturation.PixelCount());
        if (writer_.SaveSeqData(device.xBuffer.data(), device.yBuffer.data()) != 1) {
            on_ = false;
            return Outcome::Failed;
        }
        ++saved_;
    }
    const bool done = (settings_.stopMode == 1 && saved_ >= settings_.saveCount) ||
                      (settings_.stopMode == 2 && elapsedMs_ >= settings_.saveLengthMs);
    if (done) on_ = false;
    return done ? Outcome::Finished : Outcome::Running;
}

}  // namespace quenlix
