#include "DataFileSave.h"

#include <chrono>
#include <cwchar>

#include "FileAccess.h"
#include "FixedFormat.h"
#include "HeaderTexts.h"
#include "TextEncoding.h"

using namespace scrivona;

namespace {

constexpr const wchar_t* kLineEnd = L"\r\n";

std::uint32_t SteadyMilliseconds() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

// A value with a line break would shift every line after it.
std::wstring OnOneLine(std::wstring text) {
    for (wchar_t& c : text) {
        if (c == L'\r' || c == L'\n') c = L' ';
    }
    return text;
}

// The result of a setter with up to three arguments, each refused one adding its code.
int SetterResult(int refused) { return refused == 0 ? 1 : refused; }

}  // namespace

CDataFileSave::CDataFileSave() : CDataFileSave(SteadyMilliseconds) {}

CDataFileSave::CDataFileSave(SavingSchedule::Clock clock) : schedule_(std::move(clock)) {
    SetUsingLanguage(0);
}

CDataFileSave::~CDataFileSave() = default;

int CDataFileSave::SetUsingLanguage(int language) {
    if (language < 0 || language >= kLanguageCount) return 0;
    language_ = language;
    for (int line = 0; line < kFileLineCount; ++line)
        lines_[line] = std::wstring(LineLabel(language, line)) + kLineEnd;
    RebuildValueLines();
    return 1;
}

void CDataFileSave::RebuildValueLines() {
    SetValueLine(kDeviceNameLine, deviceName_);
    SetValueLine(kVersionLine, versionInfo_);
    SetValueLine(kSerialNumberLine, serialText_);
    SetNumberLine(kIntegralTimeLine, integralTimeUs_);
    SetNumberLine(kAvgCountLine, avgCount_);
    SetNumberLine(kSmoothnessLine, smoothness_);
    SetDataTypeLines();
    SetNumberLine(kPixelCountLine, pixelCount_);
    SetNumberLine(kReserveLine, reserve0_);
    SetValueLine(kOtherInfoLine, otherInfo_);
}

void CDataFileSave::SetValueLine(int line, const std::wstring& value) {
    lines_[line] = LineLabel(language_, line) + OnOneLine(value) + kLineEnd;
}

// A value not given yet leaves the bare label.
void CDataFileSave::SetNumberLine(int line, const std::optional<int>& value) {
    SetValueLine(line, value ? std::to_wstring(*value) : std::wstring());
}

void CDataFileSave::SetDataTypeLines() {
    wchar_t codes[32];
    std::swprintf(codes, 32, L"(%d %d)", xType_, yType_);
    SetValueLine(kDataTypeLine,
                 codes + std::wstring(XTypeName(language_, xType_)) + L"-" + YTypeName(language_, yType_));
    SetValueLine(kXUnitLine, XUnitText(xType_));
    SetValueLine(kYUnitLine, YUnitText(yType_));
}

int CDataFileSave::SetPixelCount(int n) {
    if (n <= 0) return 0;
    pixelCount_ = n;
    SetNumberLine(kPixelCountLine, pixelCount_);
    return 1;
}

int CDataFileSave::SetDeviceInfo(const std::wstring& name, const std::wstring& version,
                                 const std::wstring& serial) {
    deviceName_ = name;
    versionInfo_ = version;
    serialText_ = serial;
    SetValueLine(kDeviceNameLine, deviceName_);
    SetValueLine(kVersionLine, versionInfo_);
    SetValueLine(kSerialNumberLine, serialText_);
    return 1;
}

int CDataFileSave::SetSpectrumInfo(int integrationUs, int avgCount, int smoothness) {
    int refused = 0;
    const auto take = [&](int value, std::optional<int>& member, int line, int code) {
        if (value < 0) {
            refused += code;
            return;
        }
        member = value;
        SetNumberLine(line, member);
    };
    take(integrationUs, integralTimeUs_, kIntegralTimeLine, -1);
    take(avgCount, avgCount_, kAvgCountLine, -2);
    take(smoothness, smoothness_, kSmoothnessLine, -4);
    return SetterResult(refused);
}

int CDataFileSave::SetDataType(int xType, int yType) {
    int refused = 0;
    if (xType >= 0 && xType < kTypeCount) {
        xType_ = xType;
    } else {
        refused -= 1;
    }
    if (yType >= 0 && yType < kTypeCount) {
        yType_ = yType;
    } else {
        refused -= 2;
    }
    SetDataTypeLines();
    return SetterResult(refused);
}

int CDataFileSave::SetDecimalCount(int xDecimals, int yDecimals) {
    int refused = 0;
    if (xDecimals >= 0 && xDecimals <= 9) {
        xDecimals_ = xDecimals;
    } else {
        refused -= 1;
    }
    if (yDecimals >= 0 && yDecimals <= 9) {
        yDecimals_ = yDecimals;
    } else {
        refused -= 2;
    }
    return SetterResult(refused);
}

void CDataFileSave::SetReverse0(int value) {
    reserve0_ = value;
    SetNumberLine(kReserveLine, reserve0_);
}

void CDataFileSave::SetOtherInfo(const std::wstring& text) {
    otherInfo_ = text;
    SetValueLine(kOtherInfoLine, otherInfo_);
}

void CDataFileSave::SetDataOnly(bool dataOnly) { dataOnly_ = dataOnly; }

void CDataFileSave::SetSaturatedPixels(int count) { saturatedPixels_ = count; }

int CDataFileSave::SetIOType(int type) { return type == 0 ? 1 : 0; }

int CDataFileSave::SaveSingleData(const std::wstring& path, const double* x, const double* y) {
    try {
        if (!IsDirectory(DirectoryOf(ToUtf8(path)))) return 0;
        return Write(path, LocalTimeNow(), x, y) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

bool CDataFileSave::Write(const std::wstring& path, const LocalTime& now, const double* x, const double* y) {
    if (!pixelCount_ || x == nullptr || y == nullptr) return false;
    SetValueLine(kSavingTimeLine, SavingTimeText(now));
    fileBytes_.clear();
    if (!dataOnly_) {
        for (int line = 0; line < kHeaderLineCount; ++line) AppendUtf8(lines_[line], fileBytes_);
    }
    for (int j = 0; j < *pixelCount_; ++j) {
        AppendFixed(x[j], xDecimals_, fileBytes_);
        fileBytes_ += '\t';
        AppendFixed(y[j], yDecimals_, fileBytes_);
        fileBytes_ += "\r\n";
    }
    if (!dataOnly_) AppendUtf8(lines_[kEndLine], fileBytes_);
    if (!dataOnly_ && saturatedPixels_ > 0) {
        fileBytes_ += "# saturated pixels: ";
        fileBytes_ += std::to_string(saturatedPixels_);
        fileBytes_ += "\r\n";
    }
    return WriteFileReplacing(ToUtf8(path), fileBytes_);
}

int CDataFileSave::SetSavingSeqDataFileNameInfo(std::wstring& dir, const std::wstring& prefix,
                                                int fillCount) {
    if (dir.empty()) return -1;
    std::wstring trimmed = dir;
    while (!trimmed.empty() && trimmed.back() == L'/') trimmed.pop_back();
    if (!IsDirectory(trimmed.empty() ? "/" : ToUtf8(trimmed))) return -1;
    dir = trimmed + L'/';
    naming_.directory = dir;
    naming_.prefix = prefix;
    if (fillCount < 1 || fillCount > 9) return -2;
    naming_.fillCount = fillCount;
    serialNumber_ = 0;
    schedule_.RestartCount();
    return 1;
}

int CDataFileSave::SetSavingSeqDataFileNameIncludeTime(bool withTime, bool withMilliseconds) {
    naming_.withTime = withTime;
    naming_.withMilliseconds = withTime && withMilliseconds;
    return 1;
}

int CDataFileSave::SetSavingEveryFrame() {
    schedule_.EveryFrame();
    return 1;
}

int CDataFileSave::SetSavingByIntervalTime(int ms) { return schedule_.ByIntervalTime(ms) ? 1 : 0; }

int CDataFileSave::SetSavingByIntervalCount(int n) { return schedule_.ByIntervalCount(n) ? 1 : 0; }

int CDataFileSave::ResetSerNum(int n) {
    if (n < 0) return 0;
    serialNumber_ = n;
    return 1;
}

int CDataFileSave::SaveSeqData(const double* x, const double* y) {
    return schedule_.IsDue() ? SaveDueFrame(x, y) : 0;
}

int CDataFileSave::SaveSeqData(long frameNo, const double* x, const double* y) {
    if (frameNo == lastFrameNo_) return 0;
    lastFrameNo_ = frameNo;
    return schedule_.IsDue() ? SaveDueFrame(x, y) : 1;
}

int CDataFileSave::SaveDueFrame(const double* x, const double* y) {
    try {
        const LocalTime now = LocalTimeNow();
        const long long serial = serialNumber_++;
        lastSeqPath_ = SeriesFileName(naming_, serial, now);
        return Write(lastSeqPath_, now, x, y) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}
