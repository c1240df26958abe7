#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quenlix {

std::optional<double> ScanFiniteNumber(const QString& text) {
    double value = 0;
    if (std::sscanf(text.toUtf8().constData(), "%lf", &value) != 1 || !std::isfinite(value)) return std::nullopt;
    return value;
}

QString PrintedNumber(const char* format, double value) {
    char text[400];  // room for any double in "%.5lf"
    const int n = std::snprintf(text, sizeof text, format, value);
    return n < 0 ? QString() : QString::fromLatin1(text, std::min<int>(n, sizeof text - 1));
}

}  // namespace quenlix
