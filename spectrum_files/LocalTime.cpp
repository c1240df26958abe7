#include "LocalTime.h"

#include <chrono>
#include <ctime>
#include <cwchar>

namespace scrivona {

LocalTime LocalTimeNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm parts{};
    localtime_r(&seconds, &parts);
    LocalTime time;
    time.year = parts.tm_year + 1900;
    time.month = parts.tm_mon;
    time.day = parts.tm_mday;
    time.weekday = parts.tm_wday;
    time.hour = parts.tm_hour;
    time.minute = parts.tm_min;
    time.second = parts.tm_sec;
    time.millisecond = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    return time;
}

namespace {
constexpr const wchar_t* kMonths[] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                      L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};

// Days from 1970-01-01 to the date (proleptic Gregorian), month 1..12.
long long DaysFromCivil(long long year, int month, int day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}
}  // namespace

std::wstring SavingTimeText(const LocalTime& time) {
    static constexpr const wchar_t* kDays[] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
    wchar_t text[64];
    std::swprintf(text, 64, L"%ls, %ls %02d, %d %02d:%02d:%02d", kDays[time.weekday], kMonths[time.month],
                  time.day, time.year, time.hour, time.minute, time.second);
    return text;
}

std::optional<long long> SavingTimeSeconds(const std::wstring& text) {
    wchar_t weekday[4] = {}, month[4] = {};
    int day = 0, year = 0, hour = 0, minute = 0, second = 0, length = 0;
    if (std::swscanf(text.c_str(), L"%3ls, %3ls %d, %d %d:%d:%d%n", weekday, month, &day, &year, &hour, &minute,
                     &second, &length) != 7 ||
        static_cast<std::size_t>(length) != text.size())
        return std::nullopt;
    int monthIndex = 0;
    while (monthIndex < 12 && std::wcscmp(kMonths[monthIndex], month) != 0) ++monthIndex;
    if (monthIndex == 12 || day < 1 || day > 31 || year < 1 || year > 9999 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 60)
        return std::nullopt;
    return DaysFromCivil(year, monthIndex + 1, day) * 86400 + hour * 3600 + minute * 60 + second;
}

}  // namespace scrivona
