#include "ExportText.h"

#include <charconv>
#include <cmath>

#include "FileAccess.h"
#include "FixedFormat.h"
#include "HeaderTexts.h"
#include "TextEncoding.h"

namespace scrivona {
namespace {

// Beyond this the fixed form grows without saying more.
constexpr double kLargestFixed = 1e15;

}  // namespace

bool HasKnownAxes(const ExportedSpectrum& spectrum) {
    return spectrum.xType >= 0 && spectrum.xType < kTypeCount && spectrum.yType >= 0 &&
           spectrum.yType < kTypeCount;
}

int PointCount(const ExportedSpectrum& spectrum) {
    if (spectrum.x == nullptr || spectrum.y == nullptr || spectrum.count < 1) return 0;
    return spectrum.count;
}

int XDecimals(int xType) { return xType == 1 ? 6 : 3; }

void AppendNumber(double value, int decimals, std::string& out) {
    if (std::fabs(value) < kLargestFixed) {
        AppendFixed(value, decimals, out);
    } else {
        out += ShortestNumber(value);
    }
}

std::string ShortestNumber(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

std::string OneLine(std::wstring_view text) { return OneLine(ToUtf8(text)); }

const char* XQuantityName(int xType) {
    static constexpr const char* kNames[kTypeCount] = {"wavelength", "wavelength", "pixel",
                                                        "frequency",  "wavenumber", "Raman shift"};
    return kNames[xType];
}

const char* YQuantityName(int yType) {
    static constexpr const char* kNames[kTypeCount] = {
        "counts",     "dark-subtracted counts", "transmission", "reflection",
        "absorbance (natural logarithm)", "level over the dark mean"};
    return kNames[yType];
}

bool WriteExportFile(const std::wstring& path, const std::string& text) {
    try {
        return WriteFileReplacing(ToUtf8(path), text);
    } catch (...) {
        return false;
    }
}

}  // namespace scrivona
