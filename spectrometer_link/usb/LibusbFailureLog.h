#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <string>

#include "UsbBackend.h"

namespace kestrion {

// Tells on standard error which libusb call failed on which device, one line
// each: "quenlix: usb bus 1 address 7 (1a2b:3c4d): open: LIBUSB_ERROR_ACCESS".
// A link retries a failing device every few ticks and reopens it with a new
// connection, so limiting per connection would not stop a device that times
// out for an hour from printing thousands of lines. Instead the same line is
// printed at most once a minute, whichever connection fails; a different
// failure, operation or device prints at once. Thread-safe.
class LibusbFailureLog {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds kRepeatAfter{60};

    // What failed: "usb bus 1 address 7 (1a2b:3c4d)".
    static std::string Subject(const UsbDeviceInfo& device);

    // The line for this failure, or empty when the same line was due less
    // than kRepeatAfter before now.
    std::string Line(const std::string& subject, const std::string& operation, int error,
                     Clock::time_point now);
    // Prints the line for this failure now, unless it is withheld as above.
    void Report(const std::string& subject, const std::string& operation, int error);

private:
    std::mutex mutex_;
    std::map<std::string, Clock::time_point> lastPrinted_;  // by line; only those of the last minute
};

// The one log of every libusb backend and connection of the process.
LibusbFailureLog& LibusbFailures();

}  // namespace kestrion
