#include "TraceCsv.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "ReplaceFile.h"

namespace quenlix {
namespace {

// The X unit codes' short names, as a script would want them in a column name.
const char* XUnitName(int xTypeCode) {
    static const char* const names[] = {"nm", "um", "pixel", "GHz", "1/cm", "1/cm"};
    return xTypeCode >= 0 && xTypeCode < 6 ? names[xTypeCode] : "x";
}

void Append(std::string& out, double value, std::chars_format format, int precision) {
    if (!std::isfinite(value)) return;  // an empty field
    char text[64];
    const std::to_chars_result r = std::to_chars(text, text + sizeof text, value, format, precision);
    out.append(text, r.ptr);
}

}  // namespace

std::string TraceColumnName(int index, const TraceBand& band, int xTypeCode) {
    std::string name = "band" + std::to_string(index + 1) + '_';
    switch (band.quantity) {
        case BandQuantity::Integral:
            return name + "integral";
        case BandQuantity::PeakHeight:
            return name + "height";
        case BandQuantity::PeakCentre:
            return name + "centre_" + XUnitName(xTypeCode);
        case BandQuantity::Fwhm:
            return name + "fwhm_" + XUnitName(xTypeCode);
        case BandQuantity::Ratio:
            return name + "ratio_band" + std::to_string(band.ratioOf + 1);
        case BandQuantity::RubyPressure:
            return name + "pressure_GPa";
    }
    return name;
}

std::string FormatTraceCsv(const std::vector<TraceBand>& bands, int xTypeCode, const TraceRecord& record) {
    const int columns = std::min(static_cast<int>(bands.size()), record.BandCount());
    std::string text = "time_s,frame";
    for (int band = 0; band < columns; ++band)
        text += ',' + TraceColumnName(band, bands[static_cast<std::size_t>(band)], xTypeCode);
    text += '\n';
    for (std::size_t i = 0; i < record.Size(); ++i) {
        Append(text, record.Seconds()[i], std::chars_format::fixed, 3);
        text += ',' + std::to_string(record.Frames()[i]);
        for (int band = 0; band < columns; ++band) {
            text += ',';
            Append(text, record.Values(band)[i], std::chars_format::general, 9);
        }
        text += '\n';
    }
    return text;
}

bool WriteTraceCsv(const std::string& path, const std::vector<TraceBand>& bands, int xTypeCode,
                   const TraceRecord& record) {
    return WriteFileReplacing(path, FormatTraceCsv(bands, xTypeCode, record));
}

}  // namespace quenlix
