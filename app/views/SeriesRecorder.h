#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "DataFileSave.h"
#include "ViewDevice.h"

namespace quenlix {

// What a series saves and when it ends, as the series settings dialog gives it.
struct SeriesSettings {
    int saveMode = 0;  // 0 every new spectrum, 1 one then intervalCount skipped, 2 one per intervalTimeMs
    int intervalCount = 5;
    int intervalTimeMs = 100;
    int stopMode = 0;  // 0 by the user, 1 after saveCount files, 2 after saveLengthMs
    int saveCount = 50;
    int saveLengthMs = 60000;
    std::wstring folder;
    std::wstring prefix;
    bool includeTime = false;
    bool includeMs = false;
    int fillCount = 5;
};

// Saves one device's spectra as a numbered series of files, one decision per
// acquisition tick. Time is read from a monotonic clock, not counted in
// ticks: late ticks on a busy machine neither stretch the series nor thin
// out the saves of the timed mode.
class SeriesRecorder {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    enum class Outcome { Running, Finished, Failed };

    SeriesRecorder();
    // For tests: the clock the series is timed by.
    explicit SeriesRecorder(Clock clock);

    // Starts a series of device's spectra; false (nothing running) when the
    // folder does not exist.
    bool Start(const SeriesSettings& settings, const ViewDevice& device, int reserve0);
    // One tick: saves as the save mode says, then ends the series when the
    // stop mode says so (Finished) or a file could not be written (Failed).
    Outcome Step(const ViewDevice& device);
    void Stop() { on_ = false; }

    bool On() const { return on_; }
    int DeviceNumber() const { return deviceNumber_; }
    const SeriesSettings& Settings() const { return settings_; }
    int Saved() const { return saved_; }
    long long ElapsedMs() const { return elapsedMs_; }
    // The file a failed series could not write.
    const std::wstring& FailedFile() const { return writer_.LastSeqFilePath(); }

private:
    Clock clock_;
    CDataFileSave writer_;
    SeriesSettings settings_;
    bool on_ = false;
    int deviceNumber_ = 0;
    long lastDataNo_ = 0;
    long long spectraToNextSave_ = 0;
    long long msToNextSave_ = 0;
    int saved_ = 0;
    long long elapsedMs_ = 0;
    std::chrono::steady_clock::time_point startedAt_;
};

}  // namespace quenlix
