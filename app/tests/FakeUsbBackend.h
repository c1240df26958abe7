#pragma once

#include <memory>
#include <vector>

#include "simulator/SimulatedBus.h"
#include "usb/UsbDeviceList.h"

namespace quenlix::testing {

// The USB bus the program's USB tests see: the simulated spectrometers of a
// SimulatedBus on bus 1, and beside them, on bus 2, devices that no simulated
// unit answers for: present, but this user may not open them (as without the
// udev rule), or no spectrometer at all. Whether one of those is listed
// follows config/usb devices.txt, as on real hardware.
class FakeUsbBackend : public kestrion::UsbBackend {
public:
    explicit FakeUsbBackend(std::shared_ptr<kestrion::SimulatedBus> bus) : bus_(std::move(bus)) {}

    // A device at bus 2, address, with its strings as a dialog would read them.
    void AddForeign(int address, kestrion::UsbId id, std::string manufacturer = {},
                    std::string product = {}) {
        kestrion::UsbDeviceInfo info;
        info.bus = 2;
        info.address = address;
        info.vendor = id.vendor;
        info.product = id.product;
        info.manufacturer = std::move(manufacturer);
        info.productName = std::move(product);
        foreign_.push_back(std::move(info));
    }

    std::vector<kestrion::UsbDeviceInfo> Spectrometers() override {
        return Present(bus_->Spectrometers(), true);
    }
    std::vector<kestrion::UsbDeviceInfo> AllDevices() override { return Present(bus_->AllDevices(), false); }
    kestrion::UsbOpenResult Open(const kestrion::UsbDeviceInfo& device) override {
        if (device.bus == 2) return {nullptr, kestrion::UsbStatus::AccessDenied};
        return bus_->Open(device);
    }
    bool WatchHotplug(std::function<void(const kestrion::UsbHotplugEvent&)> onChange) override {
        return bus_->WatchHotplug(std::move(onChange));
    }

private:
    std::vector<kestrion::UsbDeviceInfo> Present(std::vector<kestrion::UsbDeviceInfo> devices,
                                                 bool listedOnly) {
        const std::vector<kestrion::UsbId> listed = kestrion::ReadUsbDeviceList();
        for (kestrion::UsbDeviceInfo info : foreign_) {
            info.listed = std::find(listed.begin(), listed.end(),
                                    kestrion::UsbId{info.vendor, info.product}) != listed.end();
            if (info.listed || !listedOnly) devices.push_back(std::move(info));
        }
        return devices;
    }

    std::shared_ptr<kestrion::SimulatedBus> bus_;
    std::vector<kestrion::UsbDeviceInfo> foreign_;
};

}  // namespace quenlix::testing
