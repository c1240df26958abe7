#pragma once

#include <string>

#include "LocalTime.h"

namespace scrivona {

struct SeriesNaming {
    std::wstring directory;  // ends with '/'
    std::wstring prefix;
    int fillCount = 5;  // least number of digits of the serial number
    bool withTime = false;
    bool withMilliseconds = false;
};

// directory + prefix + zero-padded serial number + "_HHMMSS" or
// "_HHMMSS(mmm)" when asked + ".txt".
std::wstring SeriesFileName(const SeriesNaming& naming, long long serial, const LocalTime& time);

}  // namespace scrivona
