#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "DataFileLoad.h"

namespace quenlix {

// Plays a folder of spectrum files back one file per step, without any
// window: the folder is listed once when playback starts (ListSpectrumFiles),
// so a step costs one file read however large the folder is. What the reader
// refuses is passed over and counted; files removed since the listing are
// passed over without a count, and playback runs out when the folder or
// every file left in the list is gone.
class SpectrumReplay {
public:
    enum class Step {
        Shown,    // Spectrum() holds the next file
        Skipped,  // the next file is no spectrum file; Spectrum() holds the one before
        Gone,     // the folder, or every file left in the list, is gone
    };

    struct Spectrum {
        std::wstring path;
        std::wstring savingTime;  // as the file's header writes it
        int xType = 0;
        int yType = 0;
        std::vector<double> x, y;
    };

    // The first and last X value of the file shown last, and its smallest
    // and largest Y value.
    struct Ranges {
        double xFirst, xLast, yMin, yMax;
    };

    // Lists the folder's spectrum files and starts before the first: false,
    // and nothing changes, when it holds none.
    bool Start(const QString& folder);
    // Closes the listing; Playing() is false afterwards.
    void End();
    // Reads the next file of the listing.
    Step Next();

    bool Playing() const { return playing_; }
    // No file follows the one read last.
    bool AtEnd() const { return next_ >= files_.size(); }
    const QString& Folder() const { return folder_; }
    int FileCount() const { return static_cast<int>(files_.size()); }
    // 1-based place in the listing of the file read last.
    int Position() const { return static_cast<int>(next_); }
    int ShownCount() const { return shown_; }
    int SkippedCount() const { return skipped_; }
    const Spectrum& Current() const { return spectrum_; }
    // None until a file was shown.
    const std::optional<Ranges>& LastRanges() const { return ranges_; }

private:
    // Reads path into spectrum_; false when the reader refuses it.
    bool Read(const std::string& path);

    QString folder_;
    std::vector<std::string> files_;
    std::size_t next_ = 0;
    bool playing_ = false;
    int shown_ = 0;
    int skipped_ = 0;
    CDataFileLoad reader_;
    Spectrum spectrum_;
    std::optional<Ranges> ranges_;
};

}  // namespace quenlix
