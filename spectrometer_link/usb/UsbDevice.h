#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "UsbBackend.h"
#include "UsbEndpoint.h"

namespace kestrion {

// One connection to a spectrometer, opened by its index among the present
// devices of the current backend. Not thread-safe: the owner serialises use.
class UsbDevice {
public:
    UsbDevice() = default;
    ~UsbDevice();
    UsbDevice(const UsbDevice&) = delete;
    UsbDevice& operator=(const UsbDevice&) = delete;

    // Number of present devices (at most 255).
    static uint8_t CountDevices();

    // Opens the device at index and builds its endpoint list; an open
    // connection is closed first. False (and closed) when there is no such
    // device or it cannot be opened.
    bool Open(int index);
    bool IsOpen() const { return connection_ != nullptr; }
    void Close();
    int Index() const { return index_; }

    // Entry i of the endpoint list: 0 is the control endpoint, then the
    // active interface's endpoints in descriptor order. nullptr when closed
    // or out of range, so a transfer on a closed connection never reaches
    // the backend.
    UsbEndpoint* Endpoint(int i);

private:
    std::unique_ptr<UsbConnection> connection_;
    std::vector<UsbEndpoint> endpoints_;
    int index_ = -1;
};

}  // namespace kestrion
