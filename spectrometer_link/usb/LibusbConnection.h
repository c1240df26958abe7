#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "UsbBackend.h"

struct libusb_context;
struct libusb_device_handle;
struct libusb_transfer;

namespace kestrion {

// One open, claimed libusb device. Transfers go through libusb's
// asynchronous interface so that Abort, from any thread, cancels the one in
// flight at once; the transferring thread still waits for the cancellation's
// callback, so no transfer stays outstanding when a call returns. Each
// waiting thread handles the context's events with
// libusb_handle_events_timeout_completed, which lets several links (and the
// backend's hotplug thread) share one context: one of them handles events
// while the others sleep until their own transfer has completed.
//
// Threads: the owner serialises transfers; Abort and Resume may come from any
// thread. inFlight_, aborted_ and abortedInFlight_ are guarded by mutex_.
class LibusbConnection : public UsbConnection {
public:
    // Takes over handle, whose interface interfaceNumber is claimed.
    LibusbConnection(std::shared_ptr<libusb_context> context, libusb_device_handle* handle,
                     int interfaceNumber, std::vector<UsbEndpointDescriptor> endpoints,
                     const UsbDeviceInfo& device);
    ~LibusbConnection() override;

    void Abort() override;
    void Resume() override;
    std::vector<UsbEndpointDescriptor> Endpoints() const override { return endpoints_; }
    UsbTransferResult Control(const UsbControlSetup& setup, uint8_t* data, int length,
                              int timeoutMs) override;
    UsbTransferResult Bulk(uint8_t address, uint8_t* data, int length, int timeoutMs) override;

private:
    // Submits the filled transfer (user_data pointing at completed) and
    // handles events until its callback has run. Returns the libusb error
    // its end stands for; bytes moved are in the transfer.
    int Run(libusb_transfer* transfer, int& completed);
    // The result of a transfer that ended with error; failures are logged.
    UsbTransferResult Finish(int error, int moved, bool bulk, uint8_t code);

    std::shared_ptr<libusb_context> context_;  // outlives the handle
    libusb_device_handle* handle_;
    int interface_;
    std::vector<UsbEndpointDescriptor> endpoints_;
    std::string subject_;  // the device, as the failure log names it
    std::mutex mutex_;
    libusb_transfer* inFlight_ = nullptr;
    bool aborted_ = false;
    bool abortedInFlight_ = false;  // Abort cancelled the transfer in flight
};

}  // namespace kestrion
