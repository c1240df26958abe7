#pragma once

#include <QString>
#include <optional>

namespace quenlix {

// The number a "%lf" scan reads at the start of text; none when it reads no
// number or an infinity or NaN, which no field of the program can use.
std::optional<double> ScanFiniteNumber(const QString& text);

// value printed with a printf format for one double ("%.2lf").
QString PrintedNumber(const char* format, double value);

}  // namespace quenlix
