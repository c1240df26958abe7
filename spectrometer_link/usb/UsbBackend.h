#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace kestrion {

// One endpoint as its descriptor gives it.
struct UsbEndpointDescriptor {
    uint8_t address = 0;         // bit 7 set = IN (device to host)
    uint8_t attributes = 0;      // bits 0-1: 0 control, 1 isochronous, 2 bulk, 3 interrupt
    uint16_t maxPacketField = 0; // wMaxPacketSize as stored in the descriptor
    uint8_t interval = 0;
};

struct UsbControlSetup {
    uint8_t requestType = 0;  // direction << 7 | type << 5 | recipient
    uint8_t request = 0;
    uint16_t value = 0;
    uint16_t index = 0;
};

enum class UsbStatus {
    Completed,
    Stalled,   // the device refused the request
    TimedOut,  // nothing within the timeout; the transfer was cancelled before returning
    NoDevice,  // unplugged
    Failed,    // any other transport error
};

struct UsbTransferResult {
    UsbStatus status = UsbStatus::Failed;
    int length = 0;  // bytes actually moved, also for a failed transfer
};

// One open device. Transfers block the calling thread until they complete,
// time out or fail; a timed-out transfer is cancelled before the call returns,
// so nothing stays outstanding. Callers serialise transfers on one connection.
class UsbConnection {
public:
    virtual ~UsbConnection() = default;

    // Endpoints of the active interface in configuration-descriptor order
    // (the control endpoint is not among them).
    virtual std::vector<UsbEndpointDescriptor> Endpoints() const = 0;

    // Control transfer on endpoint 0; IN when bit 7 of requestType is set.
    virtual UsbTransferResult Control(const UsbControlSetup& setup, uint8_t* data, int length,
                                      int timeoutMs) = 0;

    // Bulk transfer in the direction of the endpoint's address.
    virtual UsbTransferResult Bulk(uint8_t address, uint8_t* data, int length, int timeoutMs) = 0;
};

// Where devices come from: real hardware through libusb, or simulated units.
class UsbBackend {
public:
    virtual ~UsbBackend() = default;
    virtual int CountDevices() = 0;
    // The device at index (0 … count - 1), or nullptr when it cannot be opened.
    virtual std::unique_ptr<UsbConnection> Open(int index) = 0;
};

// The backend every UsbDevice opened from now on uses (libusb until replaced).
// Safe to call from any thread; open connections keep their own backend.
void SetUsbBackend(std::shared_ptr<UsbBackend> backend);
std::shared_ptr<UsbBackend> CurrentUsbBackend();

}  // namespace kestrion
