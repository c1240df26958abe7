#include "DeviceList.h"

#include <cmath>
#include <limits>

namespace quenlix {

std::vector<DeviceEntry> deviceList;

namespace {

// A range read from a device is truncated toward zero; a value no int can
// hold (a corrupt calibration) gives 0 instead of undefined behaviour.
int Truncate(double value) {
    if (!(std::fabs(value) < static_cast<double>(std::numeric_limits<int>::max()))) return 0;
    return static_cast<int>(value);
}

}  // namespace

std::vector<std::string> DiscoverDevices() {
    for (DeviceEntry& entry : deviceList) entry.link->RequestStop();
    deviceList.clear();
    std::vector<std::string> inaccessible;
    const SpectrometerScan scan;
    auto link = std::make_unique<CKestrion>();
    for (int i = 0; i < scan.Count(); ++i) {
        if (link->StartDevice(scan, i)) {
            DeviceEntry entry;
            entry.number = static_cast<int>(deviceList.size());
            entry.deviceName = link->GetDeviceName();
            entry.versionInfo = link->GetVersionInfo();
            entry.minX = Truncate(link->GetMinX());
            entry.maxX = Truncate(link->GetMaxX());
            entry.deviceMinX = Truncate(link->GetDeviceMinX());
            entry.deviceMaxX = Truncate(link->GetDeviceMaxX());
            entry.serialNumber = link->GetSerialNumber();
            entry.link = std::move(link);
            deviceList.push_back(std::move(entry));
        } else if (link->GetLastStatus() == kestrion::UsbStatus::AccessDenied) {
            inaccessible.push_back(scan.Describe(i));
        }
        link = std::make_unique<CKestrion>();  // a failed link is deleted here at once
    }
    return inaccessible;
}

const DeviceEntry* FindDeviceByNumber(int number) {
    for (const DeviceEntry& entry : deviceList) {
        if (entry.number == number) return &entry;
    }
    return nullptr;
}

const DeviceEntry* FindDeviceBySerial(const std::wstring& serialNumber) {
    for (const DeviceEntry& entry : deviceList) {
        if (entry.serialNumber == serialNumber) return &entry;
    }
    return nullptr;
}

}  // namespace quenlix
