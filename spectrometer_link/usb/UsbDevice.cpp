#include "UsbDevice.h"

#include <algorithm>

namespace kestrion {

UsbDevice::~UsbDevice() { Close(); }

uint8_t UsbDevice::CountDevices() {
    return static_cast<uint8_t>(std::clamp(CurrentUsbBackend()->CountDevices(), 0, 255));
}

bool UsbDevice::Open(int index) {
    Close();
    std::shared_ptr<UsbBackend> backend = CurrentUsbBackend();
    const int count = std::clamp(backend->CountDevices(), 0, 255);
    if (index < 0 || index >= count) return false;
    connection_ = backend->Open(index);
    if (connection_ == nullptr) return false;
    index_ = index;
    endpoints_.emplace_back(*connection_, UsbEndpointDescriptor{0x00, 0x00, 64, 0});
    for (const UsbEndpointDescriptor& descriptor : connection_->Endpoints()) {
        endpoints_.emplace_back(*connection_, descriptor);
    }
    return true;
}

void UsbDevice::Close() {
    endpoints_.clear();  // before the connection they refer to
    connection_.reset();
    index_ = -1;
}

UsbEndpoint* UsbDevice::Endpoint(int i) {
    if (i < 0 || static_cast<size_t>(i) >= endpoints_.size()) return nullptr;
    return &endpoints_[static_cast<size_t>(i)];
}

}  // namespace kestrion
