#include "SpectrumFolder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace quenlix {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool HasTxtExtension(std::string_view name) {
    if (name.size() < 4) return false;
    const std::string_view extension = name.substr(name.size() - 4);
    return extension[0] == '.' && (extension[1] | 0x20) == 't' && (extension[2] | 0x20) == 'x' &&
           (extension[3] | 0x20) == 't';
}

// The end of the run of digits starting at i.
std::size_t DigitsEnd(std::string_view s, std::size_t i) {
    while (i < s.size() && IsDigit(s[i])) ++i;
    return i;
}

// The first significant digit of the run [i, end): leading zeros skipped, the last digit kept.
std::size_t SignificantStart(std::string_view s, std::size_t i, std::size_t end) {
    while (i + 1 < end && s[i] == '0') ++i;
    return i;
}

}  // namespace

bool NumberAwareLess(std::string_view a, std::string_view b) {
    // Up to the first difference both read the same; start at the run of
    // digits that difference may fall in.
    std::size_t i =
        static_cast<std::size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin());
    while (i > 0 && IsDigit(a[i - 1])) --i;
    std::size_t j = i;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const std::size_t aEnd = DigitsEnd(a, i), bEnd = DigitsEnd(b, j);
            const std::size_t aStart = SignificantStart(a, i, aEnd), bStart = SignificantStart(b, j, bEnd);
            // Without leading zeros, the longer number is the larger.
            if (aEnd - aStart != bEnd - bStart) return aEnd - aStart < bEnd - bStart;
            const int order = a.substr(aStart, aEnd - aStart).compare(b.substr(bStart, bEnd - bStart));
            if (order != 0) return order < 0;
            i = aEnd;
            j = bEnd;
            continue;
        }
        if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) return i == a.size();
    return a < b;
}

std::vector<std::string> ListSpectrumFiles(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string& path = it->path().native();
        const std::string_view name = std::string_view(path).substr(path.rfind('/') + 1);
        std::error_code typeError;  // a dangling link is passed over, the listing goes on
        if (HasTxtExtension(name) && it->is_regular_file(typeError)) names.emplace_back(name);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return NumberAwareLess(a, b); });
    const fs::path base(folder);
    for (std::string& name : names) name = (base / name).string();
    return names;
}

}  // namespace quenlix
