#pragma once

#include <optional>
#include <string>

#include "ScrivonaExport.h"

namespace scrivona {

// The local time of day down to the millisecond.
struct LocalTime {
    int year = 1970;
    int month = 0;    // 0..11
    int day = 1;      // 1..31
    int weekday = 0;  // 0 Sunday
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

LocalTime LocalTimeNow();

// "Sat, Jun 20, 2020 14:03:05": English names whatever the user's locale, so
// files read the same everywhere.
std::wstring SavingTimeText(const LocalTime& time);

// The seconds from 1970-01-01 00:00:00 to the time a SavingTimeText gives
// (local time taken as it is: differences between files are what counts);
// none for any other text.
SCRIVONA_API std::optional<long long> SavingTimeSeconds(const std::wstring& text);

}  // namespace scrivona
