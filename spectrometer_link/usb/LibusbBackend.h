#pragma once

#include <memory>

#include "UsbBackend.h"

struct libusb_context;

namespace kestrion {

// Real spectrometers through libusb-1.0. A device counts when its
// vendor:product pair is listed in config/usb devices.txt (read at every count
// and open). Opening claims interface 0 (detaching a kernel driver if one is
// bound) and takes its endpoints from alternate setting 0.
class LibusbBackend : public UsbBackend {
public:
    LibusbBackend();
    std::vector<UsbDeviceInfo> Spectrometers() override;
    std::vector<UsbDeviceInfo> AllDevices() override;
    UsbOpenResult Open(const UsbDeviceInfo& device) override;

private:
    std::shared_ptr<libusb_context> context_;  // null when libusb cannot start
};

}  // namespace kestrion
