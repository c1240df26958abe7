#include "LibusbConnection.h"

#include <libusb.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "LibusbFailureLog.h"
#include "LibusbStatus.h"

namespace kestrion {
namespace {

void LIBUSB_CALL MarkCompleted(libusb_transfer* transfer) { *static_cast<int*>(transfer->user_data) = 1; }

// How long one round of event handling may sleep. The transfer's own timeout
// ends it; this only bounds the wait when libusb wakes nobody.
constexpr timeval kEventRound{0, 200'000};

struct TransferDeleter {
    void operator()(libusb_transfer* transfer) const { libusb_free_transfer(transfer); }
};
using TransferPtr = std::unique_ptr<libusb_transfer, TransferDeleter>;

unsigned TimeoutOf(int timeoutMs) {
    return static_cast<unsigned>(std::max(timeoutMs, 1));
}  // 0 would wait forever

}  // namespace

LibusbConnection::LibusbConnection(std::shared_ptr<libusb_context> context, libusb_device_handle* handle,
                                   int interfaceNumber, std::vector<UsbEndpointDescriptor> endpoints,
                                   const UsbDeviceInfo& device)
    : context_(std::move(context)),
      handle_(handle),
      interface_(interfaceNumber),
      endpoints_(std::move(endpoints)),
      subject_(LibusbFailureLog::Subject(device)) {}

LibusbConnection::~LibusbConnection() {
    libusb_release_interface(handle_, interface_);
    libusb_close(handle_);
}

void LibusbConnection::Abort() {
    std::lock_guard lock(mutex_);
    aborted_ = true;
    if (inFlight_ != nullptr && libusb_cancel_transfer(inFlight_) == LIBUSB_SUCCESS) abortedInFlight_ = true;
}

void LibusbConnection::Resume() {
    std::lock_guard lock(mutex_);
    aborted_ = false;
}

int LibusbConnection::Run(libusb_transfer* transfer, int& completed) {
    {
        // Under the lock, so an Abort either comes first and nothing is sent,
        // or finds the transfer to cancel.
        std::lock_guard lock(mutex_);
        if (aborted_) return LIBUSB_ERROR_INTERRUPTED;
        const int submitted = libusb_submit_transfer(transfer);
        if (submitted != LIBUSB_SUCCESS) return submitted;
        inFlight_ = transfer;
    }
    bool cancelled = false;
    while (completed == 0) {
        timeval round = kEventRound;
        const int handled = libusb_handle_events_timeout_completed(context_.get(), &round, &completed);
        // Event handling itself failed: end the transfer rather than wait on
        // it blindly; its callback still has to come before it is freed.
        if (handled < 0 && handled != LIBUSB_ERROR_INTERRUPTED && !cancelled) {
            libusb_cancel_transfer(transfer);
            cancelled = true;
        }
    }
    bool abortedInFlight = false;
    {
        std::lock_guard lock(mutex_);
        inFlight_ = nullptr;
        abortedInFlight = std::exchange(abortedInFlight_, false);
    }
    const int error = LibusbErrorOfTransfer(transfer->status);
    // A cancellation that was no Abort's came from failed event handling.
    if (error == LIBUSB_ERROR_INTERRUPTED && !abortedInFlight) return LIBUSB_ERROR_OTHER;
    return error;
}

UsbTransferResult LibusbConnection::Finish(int error, int moved, bool bulk, uint8_t code) {
    // An aborted transfer is the host's own doing: nothing to tell.
    if (error != LIBUSB_SUCCESS && error != LIBUSB_ERROR_INTERRUPTED) {
        char what[32];
        std::snprintf(what, sizeof what, bulk ? "bulk 0x%02x" : "control request 0x%02x", code);
        LibusbFailures().Report(subject_, what, error);
    }
    return {StatusOfLibusbError(error), std::max(moved, 0)};
}

UsbTransferResult LibusbConnection::Control(const UsbControlSetup& setup, uint8_t* data, int length,
                                            int timeoutMs) {
    length = std::clamp(length, 0, 0xFFFF);
    const bool in = (setup.requestType & LIBUSB_ENDPOINT_IN) != 0;
    // The setup packet goes first in the transfer's buffer, the data after it.
    std::vector<uint8_t> buffer(LIBUSB_CONTROL_SETUP_SIZE + static_cast<size_t>(length));
    libusb_fill_control_setup(buffer.data(), setup.requestType, setup.request, setup.value, setup.index,
                              static_cast<uint16_t>(length));
    if (!in && length > 0 && data != nullptr)
        std::memcpy(buffer.data() + LIBUSB_CONTROL_SETUP_SIZE, data, length);
    TransferPtr transfer(libusb_alloc_transfer(0));
    if (transfer == nullptr) return Finish(LIBUSB_ERROR_NO_MEM, 0, false, setup.request);
    int completed = 0;
    libusb_fill_control_transfer(transfer.get(), handle_, buffer.data(), MarkCompleted, &completed,
                                 TimeoutOf(timeoutMs));
    const int error = Run(transfer.get(), completed);
    const int moved = completed != 0 ? transfer->actual_length : 0;  // a transfer never sent moved nothing
    if (in && moved > 0 && data != nullptr)
        std::memcpy(data, libusb_control_transfer_get_data(transfer.get()), std::min(moved, length));
    return Finish(error, std::min(moved, length), false, setup.request);
}

UsbTransferResult LibusbConnection::Bulk(uint8_t address, uint8_t* data, int length, int timeoutMs) {
    TransferPtr transfer(libusb_alloc_transfer(0));
    if (transfer == nullptr) return Finish(LIBUSB_ERROR_NO_MEM, 0, true, address);
    int completed = 0;
    libusb_fill_bulk_transfer(transfer.get(), handle_, address, data, std::max(length, 0), MarkCompleted,
                              &completed, TimeoutOf(timeoutMs));
    const int error = Run(transfer.get(), completed);
    const int moved = completed != 0 ? transfer->actual_length : 0;  // a transfer never sent moved nothing
    return Finish(error, std::min(moved, std::max(length, 0)), true, address);
}

}  // namespace kestrion
