#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "UsbBackend.h"

struct libusb_context;

namespace kestrion {

// Real spectrometers through libusb-1.0. A device counts when its
// vendor:product pair is listed in config/usb devices.txt (read at every
// enumeration). Opening claims interface 0 (detaching a kernel driver if one
// is bound) and takes its endpoints from alternate setting 0. Failures of
// libusb calls are told on standard error (LibusbFailureLog).
//
// Hotplug, where libusb supports it: the first WatchHotplug registers one
// arrival-and-departure callback for every device and starts an event thread
// that handles the context's events; the destructor deregisters the callback
// and joins the thread.
class LibusbBackend : public UsbBackend {
public:
    LibusbBackend();
    ~LibusbBackend() override;
    LibusbBackend(const LibusbBackend&) = delete;
    LibusbBackend& operator=(const LibusbBackend&) = delete;

    std::vector<UsbDeviceInfo> Spectrometers() override;
    // Opens every device once to read its manufacturer and product strings:
    // a device that does not answer holds it up to a second per string.
    std::vector<UsbDeviceInfo> AllDevices() override;
    UsbOpenResult Open(const UsbDeviceInfo& device) override;
    bool WatchHotplug(std::function<void(const UsbHotplugEvent&)> onChange) override;

    // The watcher a hotplug callback calls; it lives as long as the context,
    // since only event handling on that context can call it.
    struct HotplugWatcher {
        std::mutex mutex;
        std::function<void(const UsbHotplugEvent&)> onChange;  // guarded by mutex
    };

private:
    std::shared_ptr<HotplugWatcher> watcher_ = std::make_shared<HotplugWatcher>();
    std::shared_ptr<libusb_context> context_;  // null when libusb cannot start
    std::mutex hotplugMutex_;                  // guards the two below and the thread's start
    bool hotplugRegistered_ = false;
    int hotplugHandle_ = 0;
    std::thread eventThread_;
    std::atomic<bool> stopEvents_{false};  // set once, before the event thread is woken to end
};

}  // namespace kestrion
