#include "LineColorList.h"

#include "BoundedFile.h"
#include "ReplaceFile.h"
#include "SettingsPath.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>

std::list<uint32_t> lineColorList;

namespace {

constexpr uint32_t kDefaultColors[] = {255, 16711680, 15736992, 25600, 5737262};
constexpr uint32_t kLargestColor = 0x00FFFFFF;
// Ten colour lines take some 100 bytes; room for long garbage lines too.
constexpr std::size_t kFileLimit = 16 * 1024;

// The decimal number a line starts with (leading blanks skipped), as a "%u"
// scan takes it; the trailing "l" and CR are ignored.
// A line without a number, or with one that is no COLORREF, gives false.
bool ParseColor(std::string_view line, uint32_t& color) {
    line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
    uint32_t value = 0;
    if (std::from_chars(line.data(), line.data() + line.size(), value).ec != std::errc() || value > kLargestColor) {
        return false;
    }
    color = value;
    return true;
}

std::list<uint32_t> ReadColorFile(const std::string& path) {
    std::list<uint32_t> colors;
    const std::string bytes = quenlix::ReadBoundedFile(path, kFileLimit).bytes;
    std::string_view rest = bytes;
    while (!rest.empty() && colors.size() < kMaxLineColors) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        uint32_t color = 0;
        if (ParseColor(rest.substr(0, end), color)) colors.push_back(color);
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return colors;
}

}  // namespace

void LoadLineColorList(const std::list<uint32_t>& colors) {
    if (!colors.empty()) {
        lineColorList.insert(lineColorList.end(), colors.begin(), colors.end());
        return;
    }
    std::list<uint32_t> read = ReadColorFile(quenlix::SettingsPath(kLineColorFile));
    // An empty list would leave the colour dialog nothing to select and every
    // line the same red, so a file without a colour counts as a missing one.
    if (read.empty()) read.assign(std::begin(kDefaultColors), std::end(kDefaultColors));
    lineColorList.splice(lineColorList.end(), read);
}

bool SaveLineColorList(const std::list<uint32_t>& colors) {
    std::string text;
    for (uint32_t color : colors) text += std::to_string(color) + "l\r\n";
    return quenlix::WriteFileReplacing(quenlix::SettingsPathForWrite(kLineColorFile), text);
}
