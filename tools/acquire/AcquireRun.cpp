#include "AcquireRun.h"

#include <unistd.h>

#include <QString>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "AcquisitionSession.h"
#include "AutoIntegration.h"
#include "AxisUnits.h"
#include "DataFileLoad.h"
#include "DataFileSave.h"
#include "DeviceList.h"
#include "SpectrumFileWriter.h"

namespace quenlix {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kEnglish = 2;  // header language of the text files
constexpr auto kPollPeriod = std::chrono::milliseconds(1);
constexpr auto kProgressPeriod = std::chrono::milliseconds(100);

std::string Utf8(const std::wstring& text) { return QString::fromStdWString(text).toStdString(); }
std::wstring Wide(const std::string& text) { return QString::fromUtf8(text.c_str()).toStdWString(); }

void Say(AcquireIo& io, const std::string& line) {
    std::fprintf(io.err, "quenlix-acquire: %s\n", line.c_str());
}

int ListDevices(AcquireIo& io) {
    const std::vector<std::string> inaccessible = DiscoverDevices();
    for (const DeviceEntry& entry : deviceList) {
        std::fprintf(io.out, "%d\t%s\t%s\t%s\t%d\t%d-%d nm\n", entry.number, Utf8(entry.deviceName).c_str(),
                     Utf8(entry.serialNumber).c_str(), Utf8(entry.versionInfo).c_str(),
                     entry.link->GetPixelCount(), entry.minX, entry.maxX);
    }
    if (deviceList.empty()) Say(io, "no spectrometer found");
    for (const std::string& device : inaccessible)
        Say(io,
            "this user may not open the spectrometer at " + device + " (see the udev rule in the README)");
    std::fflush(io.out);
    return kExitDone;
}

// A raw-count spectrum read from a file, in pixel order.
struct StoredSpectrum {
    std::vector<double> y;
    bool given = false;
};

// Takes the spectra of one device through an acquisition session, as a live
// page would, and writes each one.
class Acquisition final : public AcquisitionListener {
public:
    Acquisition(const AcquireOptions& options, AcquireIo& io) : options_(options), io_(io) {}
    int Run();

private:
    enum class Outcome { Spectrum, Stopped, Failed, Stalled };

    void FrameTaken(const ViewDevice& record) override;
    void SpectrumReady(const ViewDevice&) override { ready_ = true; }
    void LinkFailed() override { failed_ = true; }
    void IntegralTimeTaken(double ms) override { takenMs_ = ms; }

    int Fail(int code, const std::string& line) {
        Say(io_, line);
        return code;
    }
    bool Load(const char* option, const std::string& path, StoredSpectrum& spectrum, std::string& error);
    const DeviceEntry* KeepChosenDevice(std::string& error);
    bool Store(ViewDevice& record, const char* option, const std::string& path,
               const StoredSpectrum& spectrum, bool dark, std::string& error);
    bool StopAsked() {
        stopRequests_ += io_.takeStopRequests();
        return stopRequests_ > 0;
    }
    Outcome TakeSpectrum(ViewDevice& record);
    // Finds the integration time before the spectra; Spectrum when it ended
    // (reached or not), or why the acquisition must end.
    Outcome AutoIntegrate(ViewDevice& record);
    void TellAutoIntegration();
    int Unfinished(Outcome outcome, const ViewDevice& record);
    bool WaitUntil(Clock::time_point due);
    std::string FilePath(int index) const;
    bool Write(const ViewDevice& record, int index, std::string& error);
    void TellSaturation(const ViewDevice& record, int index);
    void SayBesideProgress(const std::string& line);
    void ShowProgress(int done, bool last);

    const AcquireOptions& options_;
    AcquireIo& io_;
    AcquisitionSession session_{*this};
    bool ready_ = false;
    bool failed_ = false;
    double takenMs_ = -1;
    std::optional<AutoIntegration> autoIntegration_;
    int stopRequests_ = 0;
    CDataFileSave textWriter_;
    int nameDigits_ = 5;
    bool lastSaturated_ = false;  // whether the spectrum written last had saturated pixels
    int saturatedSpectra_ = 0;
    int mostSaturated_ = 0;
    Clock::time_point started_;
    Clock::time_point lastProgress_;
};

bool Acquisition::Load(const char* option, const std::string& path, StoredSpectrum& spectrum,
                       std::string& error) {
    CDataFileLoad file;
    if (file.SetLoadingSingleDataFilePath(Wide(path)) != 1) {
        error = std::string(option) + ": '" + path + "' is no spectrum file that can be read";
        return false;
    }
    int xType = 0, yType = 0;
    file.GetDataType(xType, yType);
    if (yType != 0) {
        error = std::string(option) + ": '" + path + "' does not hold raw counts";
        return false;
    }
    std::vector<double> x(file.GetPixelCount());
    spectrum.y.resize(x.size());
    file.LoadSingleData(x.data(), spectrum.y.data());
    // Spectra in GHz or wavenumbers run against the pixels.
    if (condira::IsReversedXAxisType(xType)) std::reverse(spectrum.y.begin(), spectrum.y.end());
    spectrum.given = true;
    return true;
}

const DeviceEntry* Acquisition::KeepChosenDevice(std::string& error) {
    DiscoverDevices();
    const DeviceEntry* chosen = options_.serialNumber.empty()
                                    ? FindDeviceByNumber(options_.deviceNumber)
                                    : FindDeviceBySerial(Wide(options_.serialNumber));
    if (chosen == nullptr) {
        const std::string found = " (" + std::to_string(deviceList.size()) + " found)";
        error = options_.serialNumber.empty()
                    ? "no spectrometer numbered " + std::to_string(options_.deviceNumber) + found
                    : "no spectrometer with serial number '" + options_.serialNumber + "'" + found;
        return nullptr;
    }
    // Only the chosen device keeps running; the others stop side by side.
    const std::wstring serial = chosen->serialNumber;
    for (DeviceEntry& entry : deviceList)
        if (entry.serialNumber != serial) entry.link->RequestStop();
    std::erase_if(deviceList, [&serial](const DeviceEntry& entry) { return entry.serialNumber != serial; });
    return &deviceList.front();
}

// A spectrum file holds the display window as it was saved, smoothed and
// averaged already; the preprocessor stores what it made of its last frame,
// so the file goes through once unsmoothed and unaveraged.
bool Acquisition::Store(ViewDevice& record, const char* option, const std::string& path,
                        const StoredSpectrum& spectrum, bool dark, std::string& error) {
    if (static_cast<int>(spectrum.y.size()) != record.pointCount) {
        error = std::string(option) + ": '" + path + "' holds " + std::to_string(spectrum.y.size()) +
                " values, the spectrometer gives " + std::to_string(record.pointCount);
        return false;
    }
    CCondira& pre = *record.preprocessor;
    std::vector<double> frame(pre.GetPixelCount(), 0.0);
    std::copy(spectrum.y.begin(), spectrum.y.end(), frame.begin() + record.firstPixel);
    pre.SetSmoothness(0);
    pre.SetAvgCount(1);
    pre.AddNewSpectrumData(frame.data());
    if (dark) {
        pre.SaveDarkSpectrum();
    } else {
        pre.SaveRefSpectrum();
    }
    pre.SetSmoothness(options_.smoothness);
    pre.SetAvgCount(options_.avgCount);
    record.lastDataNo = pre.GetDataNo();
    return true;
}

Acquisition::Outcome Acquisition::TakeSpectrum(ViewDevice& record) {
    ready_ = false;
    if (options_.trigger == AcquireOptions::Trigger::Soft) record.link->SoftTrigOnce(options_.avgCount);
    // A device without external triggering that delivers no frame for this
    // long has stopped working, whatever its link says.
    const auto stallLimit =
        std::chrono::milliseconds(5000) +
        std::chrono::duration<double, std::milli>(2.0 * options_.avgCount * (session_.settings.integralTimeMS + 4));
    long lastFrame = record.link->GetFrameNo();
    Clock::time_point lastFrameAt = Clock::now();
    for (;;) {
        session_.Step();
        if (failed_) return Outcome::Failed;
        if (ready_) return Outcome::Spectrum;
        if (StopAsked() && stopRequests_ > 1) return Outcome::Stopped;
        const Clock::time_point now = Clock::now();
        const long frame = record.link->GetFrameNo();
        if (frame != lastFrame) {
            lastFrame = frame;
            lastFrameAt = now;
        } else if (options_.trigger != AcquireOptions::Trigger::External && now - lastFrameAt > stallLimit) {
            return Outcome::Stalled;
        }
        std::this_thread::sleep_for(kPollPeriod);
    }
}

void Acquisition::FrameTaken(const ViewDevice& record) {
    if (!autoIntegration_ || !autoIntegration_->IsRunning()) return;
    const std::optional<double> next = autoIntegration_->Take(record.frame.data(), record.lastFrameNo);
    if (!next) return;
    session_.ApplyIntegralTime(*next);
    // Frames published from here on were exposed wholly with the new time.
    autoIntegration_->Applied(record.link->GetIntegralTimeMS(), record.link->GetFrameNo());
}

Acquisition::Outcome Acquisition::AutoIntegrate(ViewDevice& record) {
    autoIntegration_.emplace(AutoIntegration::DeviceOf(*record.link), options_.autoTarget, options_.autoMargin);
    autoIntegration_->Begin(session_.settings.integralTimeMS, record.link->GetFrameNo());
    while (autoIntegration_->IsRunning()) {
        if (StopAsked()) {
            session_.ApplyIntegralTime(autoIntegration_->Cancel());
            return Outcome::Stopped;
        }
        const Outcome outcome = TakeSpectrum(record);
        if (outcome != Outcome::Spectrum) return outcome;
    }
    TellAutoIntegration();
    // A block being averaged may still hold frames of an earlier time.
    return options_.avgCount > 1 ? TakeSpectrum(record) : Outcome::Spectrum;
}

void Acquisition::TellAutoIntegration() {
    const AutoIntegration& run = *autoIntegration_;
    char line[200];
    const double ms = run.TimeMs();
    const double percent = 100 * run.PeakFraction();
    switch (run.Result()) {
        case AutoIntegration::Outcome::Reached:
            std::snprintf(line, sizeof line, "auto integration: %.3f ms, peak at %.1f %% of full scale (%d frames)",
                          ms, percent, run.Step());
            break;
        case AutoIntegration::Outcome::StillSaturated:
            std::snprintf(line, sizeof line, "auto integration: still saturated at the shortest time, %.3f ms", ms);
            break;
        case AutoIntegration::Outcome::TooBright:
            std::snprintf(line, sizeof line,
                          "auto integration: too bright at the shortest time, %.3f ms (peak at %.1f %%)", ms,
                          percent);
            break;
        case AutoIntegration::Outcome::TooDark:
            std::snprintf(line, sizeof line,
                          "auto integration: too dark at the longest time, %.3f ms (peak at %.1f %%)", ms, percent);
            break;
        default:
            std::snprintf(line, sizeof line,
                          "auto integration: %.0f %% of full scale not reached in %d frames; %.3f ms (peak at "
                          "%.1f %%)",
                          100 * run.Target(), run.Step(), ms, percent);
            break;
    }
    Say(io_, line);
}

int Acquisition::Unfinished(Outcome outcome, const ViewDevice& record) {
    const std::string device = "the spectrometer " + Utf8(record.serialNumber);
    switch (outcome) {
        case Outcome::Failed:
            return Fail(kExitDeviceFailed, device + " failed during acquisition (" +
                                               kestrion::UsbStatusName(record.link->GetLastStatus()) + ")");
        case Outcome::Stalled:
            return Fail(kExitDeviceFailed, device + " stopped sending frames");
        default:
            Say(io_, "stopped before the first of " + std::to_string(options_.count) + " spectra");
            return kExitDone;
    }
}

bool Acquisition::WaitUntil(Clock::time_point due) {
    for (Clock::time_point now = Clock::now(); now < due; now = Clock::now()) {
        if (StopAsked()) return false;
        std::this_thread::sleep_for(std::min<Clock::duration>(due - now, kPollPeriod * 5));
    }
    return true;
}

std::string Acquisition::FilePath(int index) const {
    static constexpr const char* kExtensions[] = {".txt", ".csv", ".jdx"};
    std::string number = std::to_string(index);
    if (static_cast<int>(number.size()) < nameDigits_) number.insert(0, nameDigits_ - number.size(), '0');
    return options_.outDir + "/" + options_.prefix + number + kExtensions[static_cast<int>(options_.format)];
}

bool Acquisition::Write(const ViewDevice& record, int index, std::string& error) {
    const double* x = record.xBuffer.data();
    const double* y = record.yBuffer.data();
    if (options_.format == AcquireOptions::Format::Text) {
        const std::string path = FilePath(index);
        textWriter_.SetSaturatedPixels(record.spectrumSaturation.PixelCount());
        if (textWriter_.SaveSingleData(Wide(path), x, y) == 1) return true;
        error = "cannot write '" + path + "'";
        return false;
    }
    const scrivona::ExportedSpectrum spectrum = ExportedFrom(record, record.pointCount, x, y);
    if (options_.toStdout) {
        const std::string text = scrivona::FormatCsv(spectrum);
        if (std::fwrite(text.data(), 1, text.size(), io_.out) == text.size() && std::fflush(io_.out) == 0)
            return true;
        error = "cannot write to standard output";
        return false;
    }
    const std::string path = FilePath(index);
    const bool written = options_.format == AcquireOptions::Format::Csv
                             ? scrivona::WriteCsvFile(Wide(path), spectrum)
                             : scrivona::WriteJcampDxFile(Wide(path), spectrum);
    if (!written) error = "cannot write '" + path + "'";
    return written;
}

// A line when saturation starts (with the pixel count) and when it ends,
// not one for every spectrum of a run that stays clipped; the files carry
// each spectrum's count.
void Acquisition::TellSaturation(const ViewDevice& record, int index) {
    const int pixels = record.spectrumSaturation.PixelCount();
    if (pixels > 0) {
        ++saturatedSpectra_;
        mostSaturated_ = std::max(mostSaturated_, pixels);
    }
    if ((pixels > 0) == lastSaturated_) return;
    lastSaturated_ = pixels > 0;
    char line[160];
    if (pixels > 0) {
        std::snprintf(line, sizeof line, "spectrum %d: %d pixels saturated (at %g counts)", index, pixels,
                      record.fullScale);
    } else {
        std::snprintf(line, sizeof line, "spectrum %d: no pixel saturated", index);
    }
    SayBesideProgress(line);
}

void Acquisition::SayBesideProgress(const std::string& line) {
    if (io_.showProgress) std::fputc('\n', io_.err);  // keeps the progress line whole
    Say(io_, line);
}

void Acquisition::ShowProgress(int done, bool last) {
    if (!io_.showProgress) return;
    const Clock::time_point now = Clock::now();
    if (!last && now - lastProgress_ < kProgressPeriod) return;
    lastProgress_ = now;
    const double seconds = std::chrono::duration<double>(now - started_).count();
    std::fprintf(io_.err, "\r%d/%d spectra, %.1f s%s", done, options_.count, seconds, last ? "\n" : "");
    std::fflush(io_.err);
}

int Acquisition::Run() {
    std::string error;
    if (!options_.toStdout) {
        std::error_code fault;
        if (!std::filesystem::is_directory(options_.outDir, fault))
            return Fail(kExitOutputNotWritable, "--out: '" + options_.outDir + "' is no folder");
        if (::access(options_.outDir.c_str(), W_OK | X_OK) != 0)
            return Fail(kExitOutputNotWritable, "--out: cannot write into '" + options_.outDir + "'");
    }
    StoredSpectrum dark, reference;
    if ((!options_.darkFile.empty() && !Load("--dark", options_.darkFile, dark, error)) ||
        (!options_.referenceFile.empty() && !Load("--reference", options_.referenceFile, reference, error)))
        return Fail(kExitBadArguments, error);

    const DeviceEntry* entry = KeepChosenDevice(error);
    if (entry == nullptr) return Fail(kExitNoSuchDevice, error);
    AcquisitionSettings& settings = session_.settings;
    settings.integralTimeMS = options_.integrationMs;
    settings.avgCount = options_.avgCount;
    settings.smoothness = options_.smoothness;
    settings.triggerMode = options_.trigger == AcquireOptions::Trigger::External ? 1 : 0;
    settings.xTypeCode = options_.xType;
    settings.yTypeCode = 0;  // dark and reference are stored in raw counts
    settings.excitationWavelengthNm = options_.excitationNm;
    session_.Bind(*entry);
    const std::string device = Utf8(entry->serialNumber);
    if (session_.Records().empty())
        return Fail(kExitDeviceFailed, "the spectrometer " + device + " gives frames too large to take");
    ViewDevice& record = *session_.Records().front();
    if (takenMs_ >= 0) {
        char line[200];
        std::snprintf(line, sizeof line,
                      "--integration-ms: the spectrometer %s cannot run at %g ms (nearest: %g ms)",
                      device.c_str(), options_.integrationMs, takenMs_);
        return Fail(kExitBadArguments, line);
    }
    if ((dark.given && !Store(record, "--dark", options_.darkFile, dark, true, error)) ||
        (reference.given && !Store(record, "--reference", options_.referenceFile, reference, false, error)))
        return Fail(kExitBadArguments, error);
    if (options_.trigger == AcquireOptions::Trigger::Soft) record.link->SetDevSoftTrigger();

    started_ = Clock::now();
    if (options_.autoIntegration) {
        const Outcome outcome = AutoIntegrate(record);
        if (outcome != Outcome::Spectrum) return Unfinished(outcome, record);
    }
    if (options_.takeDark) {
        const Outcome outcome = TakeSpectrum(record);
        if (outcome != Outcome::Spectrum) return Unfinished(outcome, record);
        record.preprocessor->SaveDarkSpectrum();
    }
    if (options_.NeedsDark()) {
        record.preprocessor->SetYAxisType(options_.yType);
        settings.yTypeCode = options_.yType;
    }
    PrepareSpectrumWriter(textWriter_, record, record.pointCount, 0, kEnglish);
    nameDigits_ = std::max<int>(5, std::to_string(options_.count - 1).size());

    int written = 0;
    Clock::time_point due = Clock::now();
    while (written < options_.count && !StopAsked()) {
        if (options_.intervalMs > 0 && written > 0) {
            due = std::max(due + std::chrono::milliseconds(options_.intervalMs), Clock::now());
            if (!WaitUntil(due)) break;
        }
        const Outcome outcome = TakeSpectrum(record);
        if (outcome == Outcome::Stopped) break;
        if (outcome != Outcome::Spectrum) return Unfinished(outcome, record);
        if (!Write(record, written, error)) return Fail(kExitOutputNotWritable, error);
        TellSaturation(record, written);
        ++written;
        ShowProgress(written, false);
    }
    ShowProgress(written, true);
    if (saturatedSpectra_ > 0)
        Say(io_, std::to_string(saturatedSpectra_) + " of " + std::to_string(written) +
                     " spectra had saturated pixels, at most " + std::to_string(mostSaturated_));
    if (written < options_.count)
        Say(io_, "stopped after " + std::to_string(written) + " of " + std::to_string(options_.count) +
                     " spectra");
    return kExitDone;
}

}  // namespace

int RunAcquire(const AcquireOptions& options, AcquireIo& io) {
    int code = kExitDone;
    if (options.action == AcquireOptions::Action::List) {
        code = ListDevices(io);
    } else {
        Acquisition acquisition(options, io);
        code = acquisition.Run();
    }
    for (DeviceEntry& entry : deviceList) entry.link->RequestStop();
    deviceList.clear();
    return code;
}

}  // namespace quenlix
