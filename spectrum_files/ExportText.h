#pragma once

#include <string>
#include <string_view>

#include "SpectrumExport.h"

// What the CSV and JCAMP-DX writers share: how numbers and texts are written
// and the names of the axis quantities.

namespace scrivona {

// Whether the axis codes are known ones (0..5 each).
bool HasKnownAxes(const ExportedSpectrum& spectrum);
// The points to write: 0 for a count below 1 or a missing array.
int PointCount(const ExportedSpectrum& spectrum);

constexpr int kYDecimals = 3;
// Three decimals, six for micrometres.
int XDecimals(int xType);

// Fixed point with '.', whatever the locale; values of 1e15 or more and
// values that are not finite in their shortest exact form instead, so a
// number never takes more than 24 characters.
void AppendNumber(double value, int decimals, std::string& out);
// The shortest text that reads back as value ("12.7").
std::string ShortestNumber(double value);

// Line breaks as blanks, so a value stays on its line; wide text as UTF-8.
std::string OneLine(std::string text);
std::string OneLine(std::wstring_view text);

// "wavelength", "dark-subtracted counts", ...
const char* XQuantityName(int xType);
const char* YQuantityName(int yType);

// The file writer with the errors of a path turned into false.
bool WriteExportFile(const std::wstring& path, const std::string& text);

}  // namespace scrivona
