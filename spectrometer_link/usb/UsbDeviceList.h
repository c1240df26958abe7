#pragma once

#include <cstdint>
#include <istream>
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

}  // namespace kestrion
