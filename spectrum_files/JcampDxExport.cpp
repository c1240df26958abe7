// A spectrum as JCAMP-DX 5.01: "##LABEL=value" records in the order readers
// expect, the (XY..XY) table in AFFN with one pair per line, then ##END.

#include <cmath>
#include <string_view>

#include "ExportText.h"
#include "HeaderTexts.h"

namespace scrivona {
namespace {

constexpr size_t kLineLength = 80;
constexpr const char* kLineEnd = "\r\n";

// Pixel and GHz have no unit name in the standard; these say what X is in
// the standard's style (plural unit names, HZ as its NMR files write it).
constexpr const char* kXUnits[kTypeCount] = {"NANOMETERS", "MICROMETERS", "PIXELS", "GHZ", "1/CM", "1/CM"};
// The decibel level over the dark mean is no transmittance or absorbance, so
// it gets a unit name of its own rather than a standard one it would not match.
constexpr const char* kYUnits[kTypeCount] = {"COUNTS",      "COUNTS",     "TRANSMITTANCE",
                                             "REFLECTANCE", "ABSORBANCE", "DECIBELS"};

constexpr int kRamanShift = 5;

constexpr int kAbsorbance = 4;

// The program keeps transmission and reflection in per cent; JCAMP-DX means
// fractions by TRANSMITTANCE and REFLECTANCE. Five decimals keep the 0.001 %.
// The program's absorbance is -ln(T); JCAMP-DX readers take ABSORBANCE as
// -log10(T), so it is written divided by ln 10, with a fourth decimal.
struct YScaling {
    double factor;
    int decimals;
};

YScaling YScalingOf(int yType) {
    if (yType == 2 || yType == 3) return {0.01, kYDecimals + 2};
    if (yType == kAbsorbance) return {1 / std::log(10.0), kYDecimals + 1};
    return {1, kYDecimals};
}

// The file is ASCII: each other character becomes one '?'. A long value is
// cut so the line keeps to 80 characters.
void AppendRecord(std::string_view label, std::string_view value, std::string& out) {
    const size_t start = out.size();
    out += "##";
    out += label;
    out += '=';
    for (const char c : value) {
        if (out.size() - start >= kLineLength) break;
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) == 0x80) continue;  // the rest of a UTF-8 sequence
        out += byte >= 0x20 && byte < 0x7F ? c : '?';
    }
    out += kLineEnd;
}

// Readers take "?" for a value that is missing.
void AppendValue(double value, int decimals, std::string& out) {
    if (std::isfinite(value)) {
        AppendNumber(value, decimals, out);
    } else {
        out += '?';
    }
}

std::string ValueText(double value, int decimals) {
    std::string text;
    AppendValue(value, decimals, text);
    return text;
}

// "2026-12-08T10:00:00+01:00" gives "2026/12/08 10:00:00"; text of another
// shape gives nothing.
std::string LongDate(const std::string& iso) {
    constexpr std::string_view kShape = "9999-99-99T99:99:99";
    if (iso.size() < kShape.size()) return {};
    for (size_t i = 0; i < kShape.size(); ++i) {
        const bool fits = kShape[i] == '9' ? iso[i] >= '0' && iso[i] <= '9' : iso[i] == kShape[i];
        if (!fits) return {};
    }
    std::string date = iso.substr(0, kShape.size());
    date[4] = date[7] = '/';
    date[10] = ' ';
    return date;
}

// "Velmora S1: absorbance".
std::string Title(const ExportedSpectrum& spectrum) {
    std::string source = OneLine(spectrum.deviceName);
    const std::string serial = OneLine(spectrum.serialNumber);
    if (!source.empty() && !serial.empty()) source += ' ';
    source += serial;
    const char* quantity = spectrum.yType == kAbsorbance ? "absorbance" : YQuantityName(spectrum.yType);
    return source.empty() ? quantity : source + ": " + quantity;
}

void AppendHeader(const ExportedSpectrum& spectrum, std::string& out) {
    const std::string longDate = LongDate(spectrum.isoDateTime);
    AppendRecord("TITLE", Title(spectrum), out);
    AppendRecord("JCAMP-DX", "5.01", out);
    AppendRecord("DATA TYPE", spectrum.xType == kRamanShift ? "RAMAN SPECTRUM" : "UV/VIS SPECTRUM", out);
    AppendRecord("ORIGIN", "Quenlix", out);
    AppendRecord("OWNER", "", out);
    AppendRecord("DATE", longDate.empty() ? "" : longDate.substr(2, 8), out);
    AppendRecord("LONGDATE", longDate, out);
    AppendRecord("SPECTROMETER/DATA SYSTEM", OneLine(spectrum.deviceName) + ", Quenlix", out);
    AppendRecord("$QUENLIX SERIAL NUMBER", OneLine(spectrum.serialNumber), out);
    AppendRecord("$QUENLIX FIRMWARE", OneLine(spectrum.versionInfo), out);
    AppendRecord("$QUENLIX INTEGRATION TIME (MS)", ShortestNumber(spectrum.integrationMs), out);
    AppendRecord("$QUENLIX AVERAGE COUNT", std::to_string(spectrum.avgCount), out);
    AppendRecord("$QUENLIX SMOOTHNESS", std::to_string(spectrum.smoothness), out);
    if (spectrum.saturatedPixels > 0)
        AppendRecord("$QUENLIX SATURATED PIXELS", std::to_string(spectrum.saturatedPixels), out);
    if (spectrum.xType == kRamanShift)
        AppendRecord("$QUENLIX EXCITATION (NM)", ShortestNumber(spectrum.excitationNm), out);
    AppendRecord("XUNITS", kXUnits[spectrum.xType], out);
    AppendRecord("YUNITS", kYUnits[spectrum.yType], out);
}

}  // namespace

std::string FormatJcampDx(const ExportedSpectrum& spectrum) {
    if (!HasKnownAxes(spectrum)) return {};
    const int points = PointCount(spectrum);
    const int xDecimals = XDecimals(spectrum.xType);
    const YScaling yScaling = YScalingOf(spectrum.yType);
    std::string out;
    out.reserve(1000 + static_cast<size_t>(points) * 24);
    AppendHeader(spectrum, out);
    AppendRecord("FIRSTX", points > 0 ? ValueText(spectrum.x[0], xDecimals) : "0", out);
    AppendRecord("LASTX", points > 0 ? ValueText(spectrum.x[points - 1], xDecimals) : "0", out);
    AppendRecord("NPOINTS", std::to_string(points), out);
    AppendRecord("XFACTOR", "1", out);
    AppendRecord("YFACTOR", "1", out);
    AppendRecord("XYPOINTS", "(XY..XY)", out);
    for (int i = 0; i < points; ++i) {
        AppendValue(spectrum.x[i], xDecimals, out);
        out += ", ";
        AppendValue(spectrum.y[i] * yScaling.factor, yScaling.decimals, out);
        out += kLineEnd;
    }
    AppendRecord("END", "", out);
    return out;
}

bool WriteJcampDxFile(const std::wstring& path, const ExportedSpectrum& spectrum) {
    return HasKnownAxes(spectrum) && WriteExportFile(path, FormatJcampDx(spectrum));
}

}  // namespace scrivona
