#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

#include "CalibrationFit.h"

namespace quenlix {

inline constexpr const char* kCalibrationHistoryFile = "config/calibration history.txt";

// One write of new coefficients into a device.
struct CalibrationRecord {
    QString serialNumber;
    QDateTime when;
    CubicCoefficients previous{};
    CubicCoefficients written{};
    std::optional<double> rSquared;  // known when the written values came from a fit
};

// The record as the history file shows it: a block of UTF-8 lines, the old
// coefficients written so that they can be typed back as they stand.
QString FormatCalibrationRecord(const CalibrationRecord& record);

// Adds the record at the end of "config/calibration history.txt", keeping
// everything the file held. False when it could not be written, and when the
// file exists but cannot be read whole (it is then left alone rather than
// replaced by a shorter one).
bool AppendCalibrationRecord(const CalibrationRecord& record);

}  // namespace quenlix
