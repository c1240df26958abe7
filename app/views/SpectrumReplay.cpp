#include "SpectrumReplay.h"

#include <filesystem>
#include <system_error>

#include "SpectrumFolder.h"

namespace quenlix {

bool SpectrumReplay::Start(const QString& folder) {
    std::vector<std::string> files = ListSpectrumFiles(folder.toStdString());
    if (files.empty()) return false;
    folder_ = folder;
    files_ = std::move(files);
    next_ = 0;
    playing_ = true;
    shown_ = 0;
    skipped_ = 0;
    return true;
}

void SpectrumReplay::End() {
    playing_ = false;
    files_.clear();
    next_ = 0;
}

SpectrumReplay::Step SpectrumReplay::Next() {
    namespace fs = std::filesystem;
    while (next_ < files_.size()) {
        const std::string& path = files_[next_++];
        if (Read(path)) {
            ++shown_;
            return Step::Shown;
        }
        std::error_code error;
        if (!fs::is_directory(folder_.toStdString(), error)) break;
        if (fs::exists(fs::symlink_status(path, error))) {
            ++skipped_;
            return Step::Skipped;
        }
        // Removed since the listing: not a file to count, the next one is read at once.
    }
    next_ = files_.size();
    return Step::Gone;
}

bool SpectrumReplay::Read(const std::string& path) {
    const std::wstring widePath = QString::fromStdString(path).toStdWString();
    if (reader_.SetLoadingSingleDataFilePath(widePath) != 1) return false;
    const int count = reader_.GetPixelCount();
    if (count <= 0) return false;
    std::vector<double> x(count), y(count);
    if (reader_.LoadSingleData(x.data(), y.data()) != 1) return false;
    spectrum_.path = widePath;
    spectrum_.savingTime = reader_.GetSavingTime();
    reader_.GetDataType(spectrum_.xType, spectrum_.yType);
    Ranges ranges{x.front(), x.back(), 1e11, -1e11};
    for (const double value : y) {
        if (value < ranges.yMin) ranges.yMin = value;
        if (value > ranges.yMax) ranges.yMax = value;
    }
    ranges_ = ranges;
    spectrum_.x = std::move(x);
    spectrum_.y = std::move(y);
    return true;
}

}  // namespace quenlix
