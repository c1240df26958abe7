#include "UsbEndpoint.h"

namespace kestrion {

UsbEndpoint::UsbEndpoint(UsbConnection& connection, const UsbEndpointDescriptor& descriptor)
    : connection_(connection), descriptor_(descriptor) {}

int UsbEndpoint::MaxPacketSize() const {
    const int w = descriptor_.maxPacketField;
    return (w & 0x7FF) * (((w >> 11) & 3) + 1);
}

bool UsbEndpoint::Read(void* buffer, int& length) {
    direction = 1;
    if (buffer == nullptr || length < 0) length = 0;
    const UsbControlSetup setup{static_cast<uint8_t>(direction << 7 | (requestType & 3) << 5 | (recipient & 31)),
                                requestCode, value, index};
    return Finish(connection_.Control(setup, static_cast<uint8_t*>(buffer), length, timeoutMs), length);
}

bool UsbEndpoint::Write(const void* buffer, int& length) {
    direction = 0;
    if (buffer == nullptr || length < 0) length = 0;
    const UsbControlSetup setup{static_cast<uint8_t>((requestType & 3) << 5 | (recipient & 31)), requestCode,
                                value, index};
    // An OUT transfer only reads the buffer; the transport signature is shared.
    return Finish(connection_.Control(setup, static_cast<uint8_t*>(const_cast<void*>(buffer)), length, timeoutMs),
                  length);
}

bool UsbEndpoint::Transfer(void* buffer, int& length) {
    if (buffer == nullptr || length < 0) length = 0;
    return Finish(connection_.Bulk(descriptor_.address, static_cast<uint8_t*>(buffer), length, timeoutMs), length);
}

bool UsbEndpoint::Finish(const UsbTransferResult& result, int& length) {
    // A backend never reports more than was asked; clamp anyway so callers can
    // trust the length as a bound on their buffer.
    const int moved = result.length < 0 ? 0 : (result.length > length ? length : result.length);
    length = moved;
    lastLength_ = moved;
    lastStatus_ = result.status;
    return result.status == UsbStatus::Completed;
}

}  // namespace kestrion
