#include "UsbBackend.h"

#include <cstdio>
#include <mutex>

#include "LibusbBackend.h"

namespace kestrion {
namespace {

std::mutex backendMutex;
std::shared_ptr<UsbBackend> backendInUse;

}  // namespace

const char* UsbStatusName(UsbStatus status) {
    switch (status) {
        case UsbStatus::Completed: return "completed";
        case UsbStatus::Stalled: return "stalled";
        case UsbStatus::TimedOut: return "timed out";
        case UsbStatus::NoDevice: return "no device";
        case UsbStatus::AccessDenied: return "access denied";
        case UsbStatus::Busy: return "busy";
        case UsbStatus::Cancelled: return "cancelled";
        case UsbStatus::Failed: return "failed";
    }
    return "failed";
}

std::string UsbDeviceInfo::Describe() const {
    char text[64];
    std::snprintf(text, sizeof text, "bus %d address %d (%04x:%04x)", bus, address, vendor, product);
    return text;
}

bool UsbBackend::WatchHotplug(std::function<void(const UsbHotplugEvent&)>) { return false; }

int UsbBackend::CountDevices() { return static_cast<int>(Spectrometers().size()); }

UsbOpenResult UsbBackend::OpenAt(int index) {
    const std::vector<UsbDeviceInfo> present = Spectrometers();
    if (index < 0 || static_cast<size_t>(index) >= present.size()) return {nullptr, UsbStatus::NoDevice};
    return Open(present[static_cast<size_t>(index)]);
}

void SetUsbBackend(std::shared_ptr<UsbBackend> backend) {
    std::lock_guard lock(backendMutex);
    backendInUse = std::move(backend);
}

std::shared_ptr<UsbBackend> CurrentUsbBackend() {
    std::lock_guard lock(backendMutex);
    if (backendInUse == nullptr) backendInUse = std::make_shared<LibusbBackend>();
    return backendInUse;
}

}  // namespace kestrion
