#pragma once

#include <cstdint>

#include "UsbBackend.h"

namespace kestrion {

// One endpoint of an open UsbDevice. Entry 0 of a device's list is the control
// endpoint, which also holds the fields of the next control request; they
// persist between requests, so a caller only changes what differs.
// Not thread-safe: the owner serialises all use of one device.
class UsbEndpoint {
public:
    static constexpr int kDefaultTimeoutMs = 10000;

    UsbEndpoint(UsbConnection& connection, const UsbEndpointDescriptor& descriptor);

    uint8_t Address() const { return descriptor_.address; }
    uint8_t Attributes() const { return descriptor_.attributes; }
    bool IsIn() const { return (descriptor_.address & 0x80) != 0; }
    int MaxPacketSize() const;
    uint8_t Interval() const { return descriptor_.interval; }

    int timeoutMs = kDefaultTimeoutMs;

    // Next control request: recipient 0 = device; type 2 = vendor; direction
    // 1 = IN, 0 = OUT (set by Read and Write).
    uint8_t recipient = 0;
    uint8_t requestType = 2;
    uint8_t direction = 0;
    uint8_t requestCode = 0;
    uint16_t value = 0;
    uint16_t index = 0;

    // Control transfers with the stored request fields. length is in and
    // out: the bytes requested, replaced by the bytes moved. True only when
    // the transfer completed; a short IN transfer completes.
    bool Read(void* buffer, int& length);
    bool Write(const void* buffer, int& length);

    // One bulk transfer in the endpoint's own direction; length as above.
    bool Transfer(void* buffer, int& length);

    int LastLength() const { return lastLength_; }
    UsbStatus LastStatus() const { return lastStatus_; }

private:
    bool Finish(const UsbTransferResult& result, int& length);

    UsbConnection& connection_;
    UsbEndpointDescriptor descriptor_;
    int lastLength_ = 0;
    UsbStatus lastStatus_ = UsbStatus::Completed;
};

}  // namespace kestrion
