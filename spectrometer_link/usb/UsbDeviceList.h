#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrion {

struct UsbId {
    uint16_t vendor = 0;
    uint16_t product = 0;
    bool operator==(const UsbId&) const = default;
};

// The settings file that lists which USB devices are spectrometers.
inline constexpr const char* kUsbDeviceListFile = "config/usb devices.txt";

// Reads "vvvv:pppp" lines (hexadecimal, as lsusb prints them); text after '#'
// is a comment, blank lines are skipped, and any other line is ignored.
std::vector<UsbId> ParseUsbDeviceList(std::istream& in);

// The list in the settings file; empty when the file is missing.
std::vector<UsbId> ReadUsbDeviceList();

// "1a2b:3c4d": four lower-case hexadecimal digits each, as lsusb prints them.
std::string FormatUsbId(UsbId id);

// The list's text with the pairs of add listed and those of remove not:
// every line of a removed pair is commented out ("# " in front), so whatever
// was written on it stays readable and can be restored by hand; a pair to add
// that no line lists gets a line of its own at the end. Every other line,
// comment and blank line is kept as it is, and new lines end as the text's
// first line does (CR LF or LF).
std::string EditUsbDeviceList(std::string_view text, const std::vector<UsbId>& add,
                              const std::vector<UsbId>& remove);

// The settings file's whole text, for an edit that keeps its comments: empty
// when there is no file, nothing when one is there but cannot be read whole
// (no permission, no regular file, larger than a list can be), so that an
// edit never replaces what it could not read.
std::optional<std::string> ReadUsbDeviceListText();

}  // namespace kestrion
