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

std::wstring SavingTimeText(const LocalTime& time) {
    static constexpr const wchar_t* kDays[] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
    static constexpr const wchar_t* kMonths[] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                                 L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
    wchar_t text[64];
    std::swprintf(text, 64, L"%ls, %ls %02d, %d %02d:%02d:%02d", kDays[time.weekday], kMonths[time.month],
                  time.day, time.year, time.hour, time.minute, time.second);
    return text;
}

}  // namespace scrivona
