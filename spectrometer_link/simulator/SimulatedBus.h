#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "SimulatedSpectrometer.h"
#include "usb/UsbBackend.h"

namespace kestrion {

// A USB backend whose devices are simulated units. The present devices are
// the plugged units in the order they were added; an unplugged unit drops out
// of the count and the indices behind it move up. Thread-safe.
class SimulatedBus : public UsbBackend {
public:
    std::shared_ptr<SimulatedSpectrometer> Add(SimulatedUnitSetup setup);
    std::shared_ptr<SimulatedSpectrometer> Unit(int i) const;  // in order added; nullptr when none

    int CountDevices() override;
    std::unique_ptr<UsbConnection> Open(int index) override;

private:
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<SimulatedSpectrometer>> units_;
};

}  // namespace kestrion
