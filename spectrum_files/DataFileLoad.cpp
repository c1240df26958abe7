#include "DataFileLoad.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "FileAccess.h"
#include "TextEncoding.h"

using namespace scrivona;

namespace {

bool HasTxtExtension(const std::string& name) {
    if (name.size() < 4) return false;
    std::string extension = name.substr(name.size() - 4);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".txt";
}

}  // namespace

CDataFileLoad::CDataFileLoad() = default;

CDataFileLoad::~CDataFileLoad() = default;

bool CDataFileLoad::Load(const std::string& path, int largestPixelCount) {
    std::string bytes;
    SpectrumRecord read{record_.header, {}, {}};
    if (!ReadWholeFile(path, bytes) || !ParseSpectrumFile(std::move(bytes), read)) return false;
    if (largestPixelCount > 0 && read.header.pixelCount > largestPixelCount) return false;
    record_ = std::move(read);
    return true;
}

int CDataFileLoad::SetLoadingSingleDataFilePath(const std::wstring& path) {
    try {
        return Load(ToUtf8(path), 0) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

int CDataFileLoad::LoadSingleData(double* x, double* y) {
    if (record_.x.empty() || x == nullptr || y == nullptr) return 0;
    std::copy(record_.x.begin(), record_.x.end(), x);
    std::copy(record_.y.begin(), record_.y.end(), y);
    return 1;
}

int CDataFileLoad::GetPixelCount() const { return record_.header.pixelCount; }

void CDataFileLoad::GetDataType(int& xType, int& yType) const {
    xType = record_.header.xType;
    yType = record_.header.yType;
}

const std::wstring& CDataFileLoad::GetSavingTime() const { return record_.header.savingTime; }
const std::wstring& CDataFileLoad::GetDeviceName() const { return record_.header.deviceName; }
const std::wstring& CDataFileLoad::GetVersionInfo() const { return record_.header.versionInfo; }
const std::wstring& CDataFileLoad::GetSerialNumber() const { return record_.header.serialNumber; }
const std::wstring& CDataFileLoad::GetOtherInfo() const { return record_.header.otherInfo; }
int CDataFileLoad::GetIntegralTimeMus() const { return record_.header.integralTimeUs; }
int CDataFileLoad::GetAvgCount() const { return record_.header.avgCount; }
int CDataFileLoad::GetSmoothness() const { return record_.header.smoothness; }
int CDataFileLoad::GetReverse0() const { return record_.header.reserve0; }

int CDataFileLoad::SetLoadingSeqDataFileDir(const std::wstring& dir) {
    namespace fs = std::filesystem;
    try {
        seriesFiles_.clear();
        nextSeriesFile_ = 0;
        seriesPixelCount_ = 0;
        std::string directory = ToUtf8(dir);
        while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
        if (directory.empty() || !IsDirectory(directory)) return 0;
        std::error_code error;
        for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
            if (it->is_regular_file(error) && HasTxtExtension(it->path().filename().string())) {
                seriesFiles_.push_back(it->path().string());
            }
        }
        // Series names carry zero-padded serial numbers: name order is saving order.
        std::sort(seriesFiles_.begin(), seriesFiles_.end());
        return seriesFiles_.empty() ? 0 : 1;
    } catch (...) {
        seriesFiles_.clear();
        return 0;
    }
}

int CDataFileLoad::LoadSeqData(double* x, double* y) {
    try {
        while (nextSeriesFile_ < seriesFiles_.size()) {
            if (Load(seriesFiles_[nextSeriesFile_++], seriesPixelCount_)) {
                if (seriesPixelCount_ == 0) seriesPixelCount_ = record_.header.pixelCount;
                if (x != nullptr && y != nullptr) LoadSingleData(x, y);
                return 1;
            }
        }
        return 0;
    } catch (...) {
        return 0;
    }
}
