#pragma once

namespace kestrion {

// How a USB transfer or open ended. Each layer decides on it: a timeout is
// retried where an unplugged device is looked for again later.
enum class UsbStatus {
    Completed,
    Stalled,       // the device refused the request
    TimedOut,      // nothing within the timeout; the transfer was cancelled before returning
    NoDevice,      // unplugged
    AccessDenied,  // present, but this user may not open it (no udev rule)
    Busy,          // claimed by another program
    Cancelled,     // aborted by the host: the link is stopping
    Failed,        // any other transport error
};

const char* UsbStatusName(UsbStatus status);

}  // namespace kestrion
