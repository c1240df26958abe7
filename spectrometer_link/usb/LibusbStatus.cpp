#include "LibusbStatus.h"

#include <libusb.h>

namespace kestrion {

UsbStatus StatusOfLibusbError(int error) {
    switch (error) {
        case LIBUSB_SUCCESS:
            return UsbStatus::Completed;
        case LIBUSB_ERROR_TIMEOUT:
            return UsbStatus::TimedOut;
        case LIBUSB_ERROR_PIPE:
            return UsbStatus::Stalled;
        case LIBUSB_ERROR_NO_DEVICE:
            return UsbStatus::NoDevice;
        case LIBUSB_ERROR_ACCESS:
            return UsbStatus::AccessDenied;
        case LIBUSB_ERROR_BUSY:
            return UsbStatus::Busy;
        case LIBUSB_ERROR_INTERRUPTED:
            return UsbStatus::Cancelled;
        default:
            return UsbStatus::Failed;
    }
}

int LibusbErrorOfTransfer(int transferStatus) {
    switch (transferStatus) {
        case LIBUSB_TRANSFER_COMPLETED:
            return LIBUSB_SUCCESS;
        case LIBUSB_TRANSFER_TIMED_OUT:
            return LIBUSB_ERROR_TIMEOUT;
        case LIBUSB_TRANSFER_STALL:
            return LIBUSB_ERROR_PIPE;
        case LIBUSB_TRANSFER_NO_DEVICE:
            return LIBUSB_ERROR_NO_DEVICE;
        case LIBUSB_TRANSFER_OVERFLOW:
            return LIBUSB_ERROR_OVERFLOW;
        case LIBUSB_TRANSFER_CANCELLED:
            return LIBUSB_ERROR_INTERRUPTED;
        default:
            return LIBUSB_ERROR_IO;
    }
}

}  // namespace kestrion
