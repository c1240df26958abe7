#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "UsbBackend.h"
#include "UsbEndpoint.h"

namespace kestrion {

// One connection to a spectrometer, opened by its index among the present
// devices of the current backend or from an enumeration taken before.
// Not thread-safe but for Abort and Resume: the owner serialises the rest.
class UsbDevice {
public:
    UsbDevice() = default;
    ~UsbDevice();
    UsbDevice(const UsbDevice&) = delete;
    UsbDevice& operator=(const UsbDevice&) = delete;

    // Number of present devices (at most 255).
    static uint8_t CountDevices();
    // The present spectrometers, in bus order.
    static std::vector<UsbDeviceInfo> PresentDevices();

    // Opens the device and builds its endpoint list; an open connection is
    // closed first. False (and closed) when there is no such device or it
    // cannot be opened; OpenStatus then tells why.
    bool Open(int index);
    bool Open(const UsbDeviceInfo& device);
    bool IsOpen() const { return connection_ != nullptr; }
    void Close();
    UsbStatus OpenStatus() const { return openStatus_; }
    const UsbDeviceInfo& Info() const { return info_; }

    // From any thread: ends the transfer in progress and every later one with
    // UsbStatus::Cancelled, on this connection and any opened later, until Resume.
    void Abort();
    void Resume();

    // Entry i of the endpoint list: 0 is the control endpoint, then the
    // active interface's endpoints in descriptor order. nullptr when closed
    // or out of range, so a transfer on a closed connection never reaches
    // the backend.
    UsbEndpoint* Endpoint(int i);

private:
    std::unique_ptr<UsbConnection> connection_;  // swapped only under abortMutex_
    std::vector<UsbEndpoint> endpoints_;
    UsbDeviceInfo info_;
    UsbStatus openStatus_ = UsbStatus::Completed;
    std::mutex abortMutex_;
    bool aborted_ = false;  // guarded by abortMutex_
};

}  // namespace kestrion
