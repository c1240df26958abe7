#include "RubyPressure.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "BoundedFile.h"
#include "ReplaceFile.h"
#include "SettingsPath.h"

namespace quenlix {
namespace {

constexpr const char* kReferenceFile = "config/i0.bin";
// The file holds one short line.
constexpr std::size_t kReferenceFileLimit = 4096;

}  // namespace

std::optional<double> MaoPressure(double lambdaNm, double lambda0Nm) {
    if (!(lambdaNm > 0) || !(lambda0Nm > 0)) return std::nullopt;
    // 2.4840182648401825 × 100 is 1904 / 7.665.
    const double pressure =
        (std::pow(1 + (lambdaNm - lambda0Nm) / lambda0Nm, 7.665) - 1) * 2.4840182648401825 * 100;
    if (!std::isfinite(pressure)) return std::nullopt;
    return pressure;
}

std::optional<double> ReadRubyReferenceWavelength() {
    const std::string text = ReadBoundedFile(SettingsPath(kReferenceFile), kReferenceFileLimit).bytes;
    const std::string firstLine = text.substr(0, text.find('\n'));
    double value = 0;
    if (std::sscanf(firstLine.c_str(), "%lf", &value) != 1 || !std::isfinite(value) || value <= 0)
        return std::nullopt;
    return value;
}

bool WriteRubyReferenceWavelength(double lambda0Nm) {
    char line[400];  // room for any double in "%.2lf"
    const int n = std::snprintf(line, sizeof line, "%.2lf\n", lambda0Nm);
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof line) return false;
    return WriteFileReplacing(SettingsPathForWrite(kReferenceFile), std::string_view(line, static_cast<std::size_t>(n)));
}

}  // namespace quenlix
