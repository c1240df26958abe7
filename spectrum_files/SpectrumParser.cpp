#include "SpectrumParser.h"

#include <array>
#include <charconv>
#include <string_view>
#include <system_error>

#include "HeaderTexts.h"
#include "TextEncoding.h"

namespace scrivona {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// Hands out the non-blank lines of a text one by one.
class LineReader {
public:
    explicit LineReader(std::string_view text) : rest_(text) {}

    bool Next(std::string_view& line) {
        while (!rest_.empty()) {
            const size_t end = rest_.find('\n');
            line = rest_.substr(0, end);
            rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
            while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (!line.empty()) return true;
        }
        return false;
    }

    size_t BytesLeft() const { return rest_.size(); }

private:
    std::string_view rest_;
};

void SkipBlanks(std::string_view& text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
}

// Reads a number as scanf's %d or %lf would, after any blanks and an
// optional plus sign; text is advanced past it.
template <typename Number>
bool ScanNumber(std::string_view& text, Number& value) {
    SkipBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    Number scanned{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), scanned);
    if (error != std::errc()) return false;
    text.remove_prefix(end - text.data());
    value = scanned;
    return true;
}

// The value of a header line is everything after its first colon.
bool ValueOf(std::string_view line, std::string_view& value) {
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) return false;
    value = line.substr(colon + 1);
    return true;
}

void ReadText(std::string_view line, std::wstring& member) {
    std::string_view value;
    if (ValueOf(line, value)) member = FromUtf8(value);
}

void ReadInt(std::string_view line, int& member) {
    std::string_view value;
    if (ValueOf(line, value)) ScanNumber(value, member);
}

// "(x y)" or "(x,y)" followed by the type names.
void ReadDataType(std::string_view line, int& xType, int& yType) {
    std::string_view value;
    if (!ValueOf(line, value)) return;
    value = value.substr(0, value.find(')'));
    SkipBlanks(value);
    if (value.empty() || value.front() != '(') return;
    value.remove_prefix(1);
    int x = 0, y = 0;
    if (!ScanNumber(value, x)) return;
    if (!value.empty() && value.front() == ',') value.remove_prefix(1);
    if (!ScanNumber(value, y)) return;
    if (x < 0 || x >= kTypeCount || y < 0 || y >= kTypeCount) return;
    xType = x;
    yType = y;
}

bool ReadDataLine(std::string_view line, double& x, double& y) {
    return ScanNumber(line, x) && ScanNumber(line, y);
}

}  // namespace

bool ParseSpectrumFile(std::string bytes, SpectrumRecord& record) {
    const std::string text = FileTextToUtf8(std::move(bytes));
    LineReader reader(text);
    std::array<std::string_view, kHeaderLineCount> lines;
    for (auto& line : lines) {
        if (!reader.Next(line)) return false;
    }

    SpectrumHeader header = record.header;
    ReadText(lines[kSavingTimeLine], header.savingTime);
    ReadText(lines[kDeviceNameLine], header.deviceName);
    ReadText(lines[kVersionLine], header.versionInfo);
    ReadText(lines[kSerialNumberLine], header.serialNumber);
    ReadText(lines[kOtherInfoLine], header.otherInfo);
    ReadInt(lines[kIntegralTimeLine], header.integralTimeUs);
    ReadInt(lines[kAvgCountLine], header.avgCount);
    ReadInt(lines[kSmoothnessLine], header.smoothness);
    ReadInt(lines[kReserveLine], header.reserve0);
    ReadDataType(lines[kDataTypeLine], header.xType, header.yType);

    // The pixel count decides how much is read, so it must come from this file.
    int pixelCount = 0;
    std::string_view value;
    if (!ValueOf(lines[kPixelCountLine], value) || !ScanNumber(value, pixelCount) || pixelCount <= 0)
        return false;
    // Every data line takes at least four bytes ("1\t2\n"), the last one three.
    if (static_cast<size_t>(pixelCount) > reader.BytesLeft() / 4 + 1) return false;
    header.pixelCount = pixelCount;

    std::vector<double> x(pixelCount), y(pixelCount);
    std::string_view line;
    for (int i = 0; i < pixelCount; ++i) {
        if (!reader.Next(line) || !ReadDataLine(line, x[i], y[i])) return false;
    }
    record.header = std::move(header);
    record.x = std::move(x);
    record.y = std::move(y);
    return true;
}

}  // namespace scrivona
