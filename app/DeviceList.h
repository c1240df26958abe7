#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Kestrion.h"

namespace quenlix {

// One spectrometer that started at the last scan. The entry owns its link.
struct DeviceEntry {
    int number = 0;  // position among the devices started in this scan
    std::unique_ptr<CKestrion> link;
    std::wstring deviceName;
    std::wstring versionInfo;
    std::wstring serialNumber;  // how views find their device again after a rescan
    int minX = 0;
    int maxX = 0;
    int deviceMinX = 0;
    int deviceMaxX = 0;
};

// The devices of the last scan, in scan order; UI thread only.
extern std::vector<DeviceEntry> deviceList;

// Rebuilds deviceList: stops every link (side by side), then starts each
// device of one enumeration of the bus through a fresh link object; a device
// that fails to start is dropped. Returns the descriptions ("bus 1 address 7
// (1a2b:3c4d)") of the spectrometers present that this user may not open.
std::vector<std::string> DiscoverDevices();

const DeviceEntry* FindDeviceByNumber(int number);
const DeviceEntry* FindDeviceBySerial(const std::wstring& serialNumber);

}  // namespace quenlix
