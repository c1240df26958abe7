#include "SeriesFileName.h"

#include <cwchar>

namespace scrivona {

std::wstring SeriesFileName(const SeriesNaming& naming, long long serial, const LocalTime& time) {
    wchar_t part[64];
    std::wstring name = naming.directory + naming.prefix;
    std::swprintf(part, 64, L"%0*lld", naming.fillCount, serial);
    name += part;
    if (naming.withMilliseconds) {
        std::swprintf(part, 64, L"_%02d%02d%02d(%03d)", time.hour, time.minute, time.second,
                      time.millisecond);
        name += part;
    } else if (naming.withTime) {
        std::swprintf(part, 64, L"_%02d%02d%02d", time.hour, time.minute, time.second);
        name += part;
    }
    return name + L".txt";
}

}  // namespace scrivona
