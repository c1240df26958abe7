#include "UsbDevice.h"

#include <algorithm>

namespace kestrion {

UsbDevice::~UsbDevice() { Close(); }

uint8_t UsbDevice::CountDevices() {
    return static_cast<uint8_t>(std::clamp(CurrentUsbBackend()->CountDevices(), 0, 255));
}

std::vector<UsbDeviceInfo> UsbDevice::PresentDevices() { return CurrentUsbBackend()->Spectrometers(); }

bool UsbDevice::Open(int index) {
    Close();
    const std::vector<UsbDeviceInfo> present = PresentDevices();
    if (index < 0 || index >= std::min<int>(static_cast<int>(present.size()), 255)) {
        openStatus_ = UsbStatus::NoDevice;
        return false;
    }
    return Open(present[static_cast<size_t>(index)]);
}

bool UsbDevice::Open(const UsbDeviceInfo& device) {
    Close();
    UsbOpenResult opened = CurrentUsbBackend()->Open(device);
    openStatus_ = opened.connection != nullptr ? UsbStatus::Completed : opened.status;
    if (opened.connection == nullptr) return false;
    info_ = device;
    endpoints_.emplace_back(*opened.connection, UsbEndpointDescriptor{0x00, 0x00, 64, 0});
    for (const UsbEndpointDescriptor& descriptor : opened.connection->Endpoints()) {
        endpoints_.emplace_back(*opened.connection, descriptor);
    }
    std::lock_guard lock(abortMutex_);
    if (aborted_) opened.connection->Abort();
    connection_ = std::move(opened.connection);
    return true;
}

void UsbDevice::Close() {
    endpoints_.clear();  // before the connection they refer to
    std::unique_ptr<UsbConnection> closing;
    {
        std::lock_guard lock(abortMutex_);
        closing = std::move(connection_);
    }
    closing.reset();
    info_ = {};
}

void UsbDevice::Abort() {
    std::lock_guard lock(abortMutex_);
    aborted_ = true;
    if (connection_ != nullptr) connection_->Abort();
}

void UsbDevice::Resume() {
    std::lock_guard lock(abortMutex_);
    aborted_ = false;
    if (connection_ != nullptr) connection_->Resume();
}

UsbEndpoint* UsbDevice::Endpoint(int i) {
    if (i < 0 || static_cast<size_t>(i) >= endpoints_.size()) return nullptr;
    return &endpoints_[static_cast<size_t>(i)];
}

}  // namespace kestrion
