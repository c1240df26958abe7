#include "LibusbFailureLog.h"

#include <libusb.h>

#include <cstdio>

namespace kestrion {

std::string LibusbFailureLog::Subject(const UsbDeviceInfo& device) { return "usb " + device.Describe(); }

std::string LibusbFailureLog::Line(const std::string& subject, const std::string& operation, int error,
                                   Clock::time_point now) {
    std::string line = "quenlix: " + subject + ": " + operation + ": " + libusb_error_name(error);
    std::lock_guard lock(mutex_);
    std::erase_if(lastPrinted_, [now](const auto& entry) { return now - entry.second >= kRepeatAfter; });
    if (!lastPrinted_.try_emplace(line, now).second) return {};
    return line;
}

void LibusbFailureLog::Report(const std::string& subject, const std::string& operation, int error) {
    const std::string line = Line(subject, operation, error, Clock::now());
    // One call per line, so lines of several threads never interleave.
    if (!line.empty()) std::fprintf(stderr, "%s\n", line.c_str());
}

LibusbFailureLog& LibusbFailures() {
    static LibusbFailureLog log;
    return log;
}

}  // namespace kestrion
