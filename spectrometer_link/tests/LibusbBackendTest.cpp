#include <gtest/gtest.h>
#include <libusb.h>

#include <chrono>

#include "usb/LibusbBackend.h"
#include "usb/LibusbFailureLog.h"

namespace kestrion::testing {
namespace {

using namespace std::chrono_literals;

// A link retries a failing device every few ticks: the log must not print a
// line each time, yet must not swallow a different failure.
TEST(LibusbFailureLog, SameFailureOnceAMinuteAnyOtherAtOnce) {
    LibusbFailureLog log;
    UsbDeviceInfo info;
    info.bus = 1;
    info.address = 7;
    info.vendor = 0x1a2b;
    info.product = 0x3c4d;
    const std::string device = LibusbFailureLog::Subject(info);
    info.address = 8;
    const std::string other = LibusbFailureLog::Subject(info);
    const auto start = LibusbFailureLog::Clock::now();
    const std::string line = "quenlix: usb bus 1 address 7 (1a2b:3c4d): open: LIBUSB_ERROR_ACCESS";

    EXPECT_EQ(log.Line(device, "open", LIBUSB_ERROR_ACCESS, start), line);
    EXPECT_EQ(log.Line(device, "open", LIBUSB_ERROR_ACCESS, start + 59s), "");
    EXPECT_EQ(log.Line(device, "open", LIBUSB_ERROR_BUSY, start + 1s),
              "quenlix: usb bus 1 address 7 (1a2b:3c4d): open: LIBUSB_ERROR_BUSY");
    EXPECT_EQ(log.Line(device, "bulk 0x82", LIBUSB_ERROR_TIMEOUT, start + 1s),
              "quenlix: usb bus 1 address 7 (1a2b:3c4d): bulk 0x82: LIBUSB_ERROR_TIMEOUT");
    EXPECT_NE(log.Line(other, "open", LIBUSB_ERROR_ACCESS, start + 1s), "");
    EXPECT_EQ(log.Line(device, "open", LIBUSB_ERROR_ACCESS, start + 60s), line);
}

// Without hardware only the paths without a spectrometer can run here.
TEST(LibusbBackend, NothingListedNothingOpensAndTheHotplugThreadEndsWithTheBackend) {
    auto backend = std::make_unique<LibusbBackend>();  // no config/usb devices.txt here
    EXPECT_TRUE(backend->Spectrometers().empty());
    for (const UsbDeviceInfo& device : backend->AllDevices())
        EXPECT_FALSE(device.listed) << device.Describe();
    EXPECT_EQ(backend->Open(UsbDeviceInfo{}).status, UsbStatus::NoDevice);

    const bool watching = backend->WatchHotplug([](const UsbHotplugEvent&) {});
    EXPECT_EQ(watching, libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG) != 0);
    // The event thread is woken, not left to finish its round of several seconds.
    const auto before = std::chrono::steady_clock::now();
    backend.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);
}

}  // namespace
}  // namespace kestrion::testing
