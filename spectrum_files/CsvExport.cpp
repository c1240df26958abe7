// A spectrum as CSV: "# key: value" comment lines that numpy, pandas and
// spreadsheets skip or show, then "x,y" lines.

#include "ExportText.h"
#include "HeaderTexts.h"
#include "TextEncoding.h"

namespace scrivona {
namespace {

void AppendComment(const char* key, const std::string& value, std::string& out) {
    out += "# ";
    out += key;
    out += ": ";
    out += value;
    out += '\n';
}

}  // namespace

std::string FormatCsv(const ExportedSpectrum& spectrum) {
    if (!HasKnownAxes(spectrum)) return {};
    const int points = PointCount(spectrum);
    std::string out;
    out.reserve(400 + static_cast<size_t>(points) * 20);
    AppendComment("device", OneLine(spectrum.deviceName), out);
    AppendComment("serial number", OneLine(spectrum.serialNumber), out);
    AppendComment("firmware", OneLine(spectrum.versionInfo), out);
    AppendComment("integration time (ms)", ShortestNumber(spectrum.integrationMs), out);
    AppendComment("averaging", std::to_string(spectrum.avgCount), out);
    AppendComment("smoothing", std::to_string(spectrum.smoothness), out);
    AppendComment("x", XQuantityName(spectrum.xType), out);
    AppendComment("x unit", ToUtf8(XUnitText(spectrum.xType)), out);
    AppendComment("y", YQuantityName(spectrum.yType), out);
    AppendComment("y unit", ToUtf8(YUnitText(spectrum.yType)), out);
    if (spectrum.xType == 5) AppendComment("excitation (nm)", ShortestNumber(spectrum.excitationNm), out);
    AppendComment("date", OneLine(spectrum.isoDateTime), out);
    if (spectrum.saturatedPixels > 0)
        AppendComment("saturated pixels", std::to_string(spectrum.saturatedPixels), out);
    const int xDecimals = XDecimals(spectrum.xType);
    for (int i = 0; i < points; ++i) {
        AppendNumber(spectrum.x[i], xDecimals, out);
        out += ',';
        AppendNumber(spectrum.y[i], kYDecimals, out);
        out += '\n';
    }
    return out;
}

bool WriteCsvFile(const std::wstring& path, const ExportedSpectrum& spectrum) {
    return HasKnownAxes(spectrum) && WriteExportFile(path, FormatCsv(spectrum));
}

}  // namespace scrivona
