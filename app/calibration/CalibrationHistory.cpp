#include "CalibrationHistory.h"

#include <cstdio>
#include <filesystem>

#include "BoundedFile.h"
#include "ReplaceFile.h"
#include "SettingsPath.h"

namespace quenlix {
namespace {

// Years of calibrations take a few hundred kilobytes.
constexpr std::size_t kHistoryLimit = 64u << 20;

QString Coefficients(const CubicCoefficients& c) {
    char text[160];
    std::snprintf(text, sizeof text, "I = %.10lf   C1 = %.10lf   C2 = %.10e   C3 = %.10e", c[0], c[1], c[2], c[3]);
    return QString::fromLatin1(text);
}

}  // namespace

QString FormatCalibrationRecord(const CalibrationRecord& record) {
    QString block = record.when.toString(Qt::ISODate) + QStringLiteral("   serial number ") + record.serialNumber +
                    u'\n';
    block += QStringLiteral("  before:  ") + Coefficients(record.previous) + u'\n';
    block += QStringLiteral("  written: ") + Coefficients(record.written) + u'\n';
    if (record.rSquared) {
        char text[48];
        std::snprintf(text, sizeof text, "  R^2 = %.10lf\n", *record.rSquared);
        block += QString::fromLatin1(text);
    } else {
        block += QStringLiteral("  R^2 not known (coefficients typed in)\n");
    }
    return block + u'\n';
}

bool AppendCalibrationRecord(const CalibrationRecord& record) {
    const std::string path = SettingsPathForWrite(kCalibrationHistoryFile);
    FileContent before = ReadBoundedFile(path, kHistoryLimit);
    // Only a missing file may start afresh: one that exists but cannot be
    // read would be replaced by a shorter one.
    std::error_code error;
    if (!before.Read() && (before.refusal != FileRefusal::CannotOpen || std::filesystem::exists(path, error)))
        return false;
    return WriteFileReplacing(path, before.bytes + FormatCalibrationRecord(record).toStdString());
}

}  // namespace quenlix
