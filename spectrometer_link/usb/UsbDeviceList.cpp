#include "UsbDeviceList.h"

#include <cctype>
#include <sstream>
#include <string>

#include "BoundedFile.h"
#include "SettingsPath.h"

namespace kestrion {
namespace {

bool ParseHex16(const std::string& text, uint16_t& out) {
    if (text.empty() || text.size() > 4) return false;
    unsigned value = 0;
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c))
                                                       ? c - '0'
                                                       : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
    }
    out = static_cast<uint16_t>(value);
    return true;
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

std::vector<UsbId> ParseUsbDeviceList(std::istream& in) {
    std::vector<UsbId> ids;
    std::string line;
    while (std::getline(in, line)) {
        line = Trim(line.substr(0, line.find('#')));
        const auto colon = line.find(':');
        UsbId id;
        if (colon != std::string::npos && ParseHex16(line.substr(0, colon), id.vendor) &&
            ParseHex16(line.substr(colon + 1), id.product)) {
            ids.push_back(id);
        }
    }
    return ids;
}

std::vector<UsbId> ReadUsbDeviceList() {
    // Some thousands of lines; a larger file is no list of devices.
    constexpr std::size_t kLimit = 64 * 1024;
    std::istringstream in(quenlix::ReadBoundedFile(quenlix::SettingsPath(kUsbDeviceListFile), kLimit).bytes);
    return ParseUsbDeviceList(in);
}

}  // namespace kestrion
