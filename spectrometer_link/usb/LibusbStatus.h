#pragma once

#include "UsbStatus.h"

namespace kestrion {

// What a libusb error code (LIBUSB_ERROR_…, or LIBUSB_SUCCESS) means to the
// link: a timeout is retried, an unplug waits for the device, access denied
// is told to the user.
UsbStatus StatusOfLibusbError(int error);

// The libusb error code an asynchronous transfer's final status
// (LIBUSB_TRANSFER_…) stands for; LIBUSB_SUCCESS when it completed. A
// cancelled transfer gives LIBUSB_ERROR_INTERRUPTED.
int LibusbErrorOfTransfer(int transferStatus);

}  // namespace kestrion
