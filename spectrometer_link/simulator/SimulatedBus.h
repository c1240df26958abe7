#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "SimulatedSpectrometer.h"
#include "usb/UsbBackend.h"

namespace kestrion {

// A USB backend whose devices are simulated units. The present devices are
// the plugged units in the order they were added; an unplugged unit drops out
// of the count and the indices behind it move up. Unit k sits on bus 1 at
// address k + 2 with the test pair 1209:0001. Thread-safe.
//
// Hotplug: once watched, a thread of the bus looks at the units every
// kHotplugPollMs and tells each one added, unplugged or plugged in again, from
// that thread as a real bus would. The units stay unaware of the bus.
class SimulatedBus : public UsbBackend {
public:
    static constexpr int kHotplugPollMs = 100;

    static constexpr uint16_t kVendor = 0x1209;
    static constexpr uint16_t kProduct = 0x0001;

    std::shared_ptr<SimulatedSpectrometer> Add(SimulatedUnitSetup setup);
    std::shared_ptr<SimulatedSpectrometer> Unit(int i) const;  // in order added; nullptr when none

    std::vector<UsbDeviceInfo> Spectrometers() override;
    std::vector<UsbDeviceInfo> AllDevices() override;
    UsbOpenResult Open(const UsbDeviceInfo& device) override;
    bool WatchHotplug(std::function<void(const UsbHotplugEvent&)> onChange) override;

    SimulatedBus() = default;
    ~SimulatedBus() override;
    SimulatedBus(const SimulatedBus&) = delete;
    SimulatedBus& operator=(const SimulatedBus&) = delete;

private:
    UsbDeviceInfo InfoOf(size_t k) const;  // under mutex_
    void WatchUnits();

    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<SimulatedSpectrometer>> units_;
    std::condition_variable stopWatching_;  // with mutex_
    bool stopping_ = false;                 // guarded by mutex_
    std::thread watchThread_;               // started under mutex_
    std::vector<bool> seen_;                // plugged state of each unit at the last look; under mutex_

    std::mutex watcherMutex_;  // held while the watcher runs
    std::function<void(const UsbHotplugEvent&)> onChange_;  // guarded by watcherMutex_
};

}  // namespace kestrion
