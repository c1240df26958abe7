#include "UiText.h"

#include <cwchar>

namespace quenlix {

std::wstring WideFormat(const wchar_t* format) {
    std::wstring out;
    for (const wchar_t* p = format; *p; ++p) {
        out += *p;
        if (*p != L'%') continue;
        if (p[1] == L'%') {
            out += *++p;
            continue;
        }
        // Copy flags, width and precision up to the conversion letter.
        while (p[1] && std::wcschr(L"-+ #0123456789.*", p[1])) out += *++p;
        if (p[1] == L's') out += L'l';
    }
    return out;
}

}  // namespace quenlix
