#include "LibusbBackend.h"

#include <libusb.h>

#include <algorithm>

#include "LibusbConnection.h"
#include "LibusbFailureLog.h"
#include "LibusbStatus.h"
#include "UsbDeviceList.h"

namespace kestrion {
namespace {

// Bus, address and pair from the device's cached descriptor (no transfer).
bool Describe(libusb_device* device, const std::vector<UsbId>& listed, UsbDeviceInfo& info) {
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(device, &descriptor) != LIBUSB_SUCCESS) return false;
    info.bus = libusb_get_bus_number(device);
    info.address = libusb_get_device_address(device);
    info.vendor = descriptor.idVendor;
    info.product = descriptor.idProduct;
    info.listed = std::find(listed.begin(), listed.end(), UsbId{info.vendor, info.product}) != listed.end();
    return true;
}

// The manufacturer and product strings; left empty when the device cannot be
// opened by this user or does not answer.
void ReadStrings(libusb_device* device, UsbDeviceInfo& info) {
    libusb_device_descriptor descriptor{};
    libusb_device_handle* handle = nullptr;
    if (libusb_get_device_descriptor(device, &descriptor) != LIBUSB_SUCCESS ||
        libusb_open(device, &handle) != LIBUSB_SUCCESS)
        return;
    const auto read = [handle](uint8_t index) {
        unsigned char text[256];
        const int n = index == 0 ? 0 : libusb_get_string_descriptor_ascii(handle, index, text, sizeof text);
        return n > 0 ? std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(n))
                     : std::string();
    };
    info.manufacturer = read(descriptor.iManufacturer);
    info.productName = read(descriptor.iProduct);
    libusb_close(handle);
}

enum class Which { Listed, AllWithStrings };

// The devices present now, in bus order.
std::vector<UsbDeviceInfo> PresentDevices(const std::shared_ptr<libusb_context>& context, Which which) {
    std::vector<UsbDeviceInfo> found;
    const std::vector<UsbId> ids = ReadUsbDeviceList();
    if (context == nullptr || (which == Which::Listed && ids.empty())) return found;
    libusb_device** list = nullptr;
    const ssize_t n = libusb_get_device_list(context.get(), &list);
    for (ssize_t i = 0; i < n; ++i) {
        UsbDeviceInfo info;
        if (!Describe(list[i], ids, info) || (which == Which::Listed && !info.listed)) continue;
        if (which == Which::AllWithStrings) ReadStrings(list[i], info);
        // The device reference keeps the context alive as long as it lives.
        info.device = std::shared_ptr<void>(libusb_ref_device(list[i]), [context](void* device) {
            libusb_unref_device(static_cast<libusb_device*>(device));
        });
        found.push_back(std::move(info));
    }
    if (n >= 0) libusb_free_device_list(list, 1);
    return found;
}

// Endpoints of alternate setting 0 of the first interface; its number in interfaceNumber.
int EndpointsOf(libusb_device* device, int& interfaceNumber, std::vector<UsbEndpointDescriptor>& endpoints) {
    libusb_config_descriptor* config = nullptr;
    const int read = libusb_get_active_config_descriptor(device, &config);
    if (read != LIBUSB_SUCCESS) return read;
    if (config->bNumInterfaces > 0 && config->interface[0].num_altsetting > 0) {
        const libusb_interface_descriptor& setting = config->interface[0].altsetting[0];
        interfaceNumber = setting.bInterfaceNumber;
        for (int i = 0; i < setting.bNumEndpoints; ++i) {
            const libusb_endpoint_descriptor& e = setting.endpoint[i];
            endpoints.push_back({e.bEndpointAddress, e.bmAttributes, e.wMaxPacketSize, e.bInterval});
        }
    }
    libusb_free_config_descriptor(config);
    return endpoints.empty() ? LIBUSB_ERROR_NOT_FOUND : LIBUSB_SUCCESS;
}

// Runs in whichever thread handles the context's events. libusb allows no
// transfer here, so only the cached descriptor is read; the watcher hands the
// event on without waiting.
int LIBUSB_CALL OnHotplug(libusb_context*, libusb_device* device, libusb_hotplug_event event,
                          void* userData) {
    UsbHotplugEvent change;
    change.arrived = event == LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED;
    if (!Describe(device, ReadUsbDeviceList(), change.device)) return 0;
    auto& watcher = *static_cast<LibusbBackend::HotplugWatcher*>(userData);
    std::lock_guard lock(watcher.mutex);
    if (watcher.onChange) watcher.onChange(change);
    return 0;  // stay registered
}

}  // namespace

LibusbBackend::LibusbBackend() {
    libusb_context* context = nullptr;
    if (libusb_init(&context) != LIBUSB_SUCCESS) return;
    // The watcher goes with the context, after the last event handling.
    context_.reset(context, [watcher = watcher_](libusb_context* c) { libusb_exit(c); });
}

LibusbBackend::~LibusbBackend() {
    {
        std::lock_guard lock(hotplugMutex_);
        if (hotplugRegistered_) {
            libusb_hotplug_deregister_callback(context_.get(), hotplugHandle_);
            stopEvents_ = true;
            libusb_interrupt_event_handler(context_.get());
        }
    }
    if (eventThread_.joinable()) eventThread_.join();
    // Open links keep the context and handle its events: a callback already
    // under way in one of them ends before this returns, and none calls the
    // program afterwards.
    std::lock_guard lock(watcher_->mutex);
    watcher_->onChange = nullptr;
}

std::vector<UsbDeviceInfo> LibusbBackend::Spectrometers() { return PresentDevices(context_, Which::Listed); }

std::vector<UsbDeviceInfo> LibusbBackend::AllDevices() {
    return PresentDevices(context_, Which::AllWithStrings);
}

UsbOpenResult LibusbBackend::Open(const UsbDeviceInfo& info) {
    auto* device = static_cast<libusb_device*>(info.device.get());
    if (device == nullptr || context_ == nullptr) return {nullptr, UsbStatus::NoDevice};
    const auto fail = [&info](const char* operation, int error) {
        LibusbFailures().Report(LibusbFailureLog::Subject(info), operation, error);
        return UsbOpenResult{nullptr, StatusOfLibusbError(error)};
    };
    int interfaceNumber = 0;
    std::vector<UsbEndpointDescriptor> endpoints;
    if (const int read = EndpointsOf(device, interfaceNumber, endpoints); read != LIBUSB_SUCCESS)
        return fail("configuration descriptor", read);
    libusb_device_handle* handle = nullptr;
    if (const int opened = libusb_open(device, &handle); opened != LIBUSB_SUCCESS)
        return fail("open", opened);
    libusb_set_auto_detach_kernel_driver(handle, 1);
    if (const int claimed = libusb_claim_interface(handle, interfaceNumber); claimed != LIBUSB_SUCCESS) {
        libusb_close(handle);
        return fail("claim interface", claimed);
    }
    return {std::make_unique<LibusbConnection>(context_, handle, interfaceNumber, std::move(endpoints), info),
            UsbStatus::Completed};
}

bool LibusbBackend::WatchHotplug(std::function<void(const UsbHotplugEvent&)> onChange) {
    const bool watching = onChange != nullptr;
    {
        std::lock_guard lock(watcher_->mutex);
        watcher_->onChange = std::move(onChange);
    }
    if (context_ == nullptr || !libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG)) return false;
    std::lock_guard lock(hotplugMutex_);
    if (hotplugRegistered_ || !watching) return true;
    const int registered = libusb_hotplug_register_callback(
        context_.get(), LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED | LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT,
        LIBUSB_HOTPLUG_NO_FLAGS, LIBUSB_HOTPLUG_MATCH_ANY, LIBUSB_HOTPLUG_MATCH_ANY, LIBUSB_HOTPLUG_MATCH_ANY,
        OnHotplug, watcher_.get(), &hotplugHandle_);
    if (registered != LIBUSB_SUCCESS) {
        LibusbFailures().Report("usb", "hotplug", registered);
        return false;
    }
    hotplugRegistered_ = true;
    // Without a transfer in flight nobody else handles events, and hotplug
    // callbacks only run from event handling.
    eventThread_ = std::thread([this] {
        while (!stopEvents_) {
            // Returns after one round of events, or when the destructor
            // interrupts event handling.
            timeval round{5, 0};
            libusb_handle_events_timeout_completed(context_.get(), &round, nullptr);
        }
    });
    return true;
}

}  // namespace kestrion
