#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "UsbStatus.h"

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

struct UsbTransferResult {
    UsbStatus status = UsbStatus::Failed;
    int length = 0;  // bytes actually moved, also for a failed transfer
};

// One open device. Transfers block the calling thread until they complete,
// time out, fail or are aborted; a timed-out transfer is cancelled before the
// call returns, so nothing stays outstanding. Callers serialise transfers on
// one connection; Abort and Resume may come from any thread.
class UsbConnection {
public:
    virtual ~UsbConnection() = default;

    // The transfer in progress and every later one end at once with
    // UsbStatus::Cancelled, until Resume.
    virtual void Abort() = 0;
    virtual void Resume() = 0;

    // Endpoints of the active interface in configuration-descriptor order
    // (the control endpoint is not among them).
    virtual std::vector<UsbEndpointDescriptor> Endpoints() const = 0;

    // Control transfer on endpoint 0; IN when bit 7 of requestType is set.
    virtual UsbTransferResult Control(const UsbControlSetup& setup, uint8_t* data, int length,
                                      int timeoutMs) = 0;

    // Bulk transfer in the direction of the endpoint's address.
    virtual UsbTransferResult Bulk(uint8_t address, uint8_t* data, int length, int timeoutMs) = 0;
};

// A device present on the bus, as one enumeration saw it.
struct UsbDeviceInfo {
    int bus = 0;
    int address = 0;
    uint16_t vendor = 0;
    uint16_t product = 0;
    std::string manufacturer;  // empty where the device's strings cannot be read
    std::string productName;
    bool listed = false;  // a spectrometer: its pair is in the device list
    std::shared_ptr<void> device;  // the backend's own reference to it

    // "bus 1 address 7 (1a2b:3c4d)"
    std::string Describe() const;
};

// A device that arrived on the bus or left it.
struct UsbHotplugEvent {
    bool arrived = false;
    UsbDeviceInfo device;  // bus, address, pair and listed; no strings, no reference
};

struct UsbOpenResult {
    std::unique_ptr<UsbConnection> connection;  // null when the open failed
    UsbStatus status = UsbStatus::Failed;       // why it failed (AccessDenied, NoDevice, …)
};

// Where devices come from: real hardware through libusb, or simulated units.
// Thread-safe.
class UsbBackend {
public:
    virtual ~UsbBackend() = default;

    // The spectrometers present now, in bus order.
    virtual std::vector<UsbDeviceInfo> Spectrometers() = 0;
    // Every USB device present, spectrometer or not, with its manufacturer
    // and product strings where this user may read them. Slower: it may
    // open every device.
    virtual std::vector<UsbDeviceInfo> AllDevices() = 0;
    virtual UsbOpenResult Open(const UsbDeviceInfo& device) = 0;
    // Calls onChange, from a thread of the backend, for every device that
    // arrives or leaves, until the next call replaces it (an empty function
    // stops the calls) or the backend goes away. Once this returns, the
    // function it replaced is not running and is never called again. False
    // when this backend cannot tell (nothing will be called).
    virtual bool WatchHotplug(std::function<void(const UsbHotplugEvent&)> onChange);

    int CountDevices();
    // Opens entry index of a fresh enumeration of the spectrometers.
    UsbOpenResult OpenAt(int index);
};

// The backend every UsbDevice opened from now on uses (libusb until replaced).
// Safe to call from any thread; open connections keep their own backend.
void SetUsbBackend(std::shared_ptr<UsbBackend> backend);
std::shared_ptr<UsbBackend> CurrentUsbBackend();

}  // namespace kestrion
