#include "UsbDeviceList.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "BoundedFile.h"
#include "SettingsPath.h"

namespace kestrion {
namespace {

// Some thousands of lines; a larger file is no list of devices.
constexpr std::size_t kListLimit = 64 * 1024;

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

// The pair a line of the list holds; false for comments, blanks and junk.
bool ParseLine(const std::string& text, UsbId& id) {
    const std::string line = Trim(text.substr(0, text.find('#')));
    const auto colon = line.find(':');
    return colon != std::string::npos && ParseHex16(line.substr(0, colon), id.vendor) &&
           ParseHex16(line.substr(colon + 1), id.product);
}

bool Contains(const std::vector<UsbId>& ids, UsbId id) {
    for (UsbId listed : ids) {
        if (listed == id) return true;
    }
    return false;
}

}  // namespace

std::vector<UsbId> ParseUsbDeviceList(std::istream& in) {
    std::vector<UsbId> ids;
    std::string line;
    UsbId id;
    while (std::getline(in, line)) {
        if (ParseLine(line, id)) ids.push_back(id);
    }
    return ids;
}

std::vector<UsbId> ReadUsbDeviceList() {
    std::istringstream in(
        quenlix::ReadBoundedFile(quenlix::SettingsPath(kUsbDeviceListFile), kListLimit).bytes);
    return ParseUsbDeviceList(in);
}

std::string FormatUsbId(UsbId id) {
    char text[10];
    std::snprintf(text, sizeof text, "%04x:%04x", id.vendor, id.product);
    return text;
}

std::string EditUsbDeviceList(std::string_view text, const std::vector<UsbId>& add,
                              const std::vector<UsbId>& remove) {
    const size_t firstEnd = text.find('\n');
    const bool crlf = firstEnd != std::string_view::npos && firstEnd > 0 && text[firstEnd - 1] == '\r';
    const char* lineEnd = crlf ? "\r\n" : "\n";
    std::string edited;
    std::vector<UsbId> listed;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string line(text.substr(start, end - start));  // a CR stays with its line
        UsbId id;
        const bool holdsPair = ParseLine(line, id);
        if (holdsPair && Contains(remove, id)) {
            edited += "# ";
        } else if (holdsPair) {
            listed.push_back(id);
        }
        edited += line;
        if (end < text.size()) edited += '\n';
        start = end + 1;
    }
    for (UsbId id : add) {
        if (Contains(listed, id)) continue;
        if (!edited.empty() && edited.back() != '\n') edited += lineEnd;
        edited += FormatUsbId(id) + lineEnd;
        listed.push_back(id);
    }
    return edited;
}

std::optional<std::string> ReadUsbDeviceListText() {
    const std::string path = quenlix::SettingsPath(kUsbDeviceListFile);
    quenlix::FileContent content = quenlix::ReadBoundedFile(path, kListLimit);
    if (content.Read()) return std::move(content.bytes);
    // Only a missing file is an empty list; one that is there but refused
    // (no permission, a folder, too large) must not be replaced.
    std::error_code error;
    if (std::filesystem::symlink_status(path, error).type() == std::filesystem::file_type::not_found)
        return std::string();
    return std::nullopt;
}

}  // namespace kestrion
