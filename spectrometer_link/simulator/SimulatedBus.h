#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "SimulatedSpectrometer.h"
#include "usb/UsbBackend.h"

namespace kestrion {

// A USB backend whose devices are simulated units. The present devices are
// the plugged units in the order they were added; an unplugged unit drops out
// of the count and the indices behind it move up. Unit k sits on bus 1 at
// address k + 2 with the test pair 1209:0001. Thread-safe.
class SimulatedBus : public UsbBackend {
public:
    static constexpr uint16_t kVendor = 0x1209;
    static constexpr uint16_t kProduct = 0x0001;

    std::shared_ptr<SimulatedSpectrometer> Add(SimulatedUnitSetup setup);
    std::shared_ptr<SimulatedSpectrometer> Unit(int i) const;  // in order added; nullptr when none

    std::vector<UsbDeviceInfo> Spectrometers() override;
    std::vector<UsbDeviceInfo> AllDevices() override;
    UsbOpenResult Open(const UsbDeviceInfo& device) override;

private:
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<SimulatedSpectrometer>> units_;
};

}  // namespace kestrion
