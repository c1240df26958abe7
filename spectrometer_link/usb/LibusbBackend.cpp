#include "LibusbBackend.h"

#include <libusb.h>

#include <algorithm>
#include <atomic>

#include "UsbDeviceList.h"

namespace kestrion {
namespace {

UsbStatus StatusOf(int error) {
    switch (error) {
        case LIBUSB_SUCCESS: return UsbStatus::Completed;
        case LIBUSB_ERROR_TIMEOUT: return UsbStatus::TimedOut;
        case LIBUSB_ERROR_PIPE: return UsbStatus::Stalled;
        case LIBUSB_ERROR_NO_DEVICE: return UsbStatus::NoDevice;
        case LIBUSB_ERROR_ACCESS: return UsbStatus::AccessDenied;
        case LIBUSB_ERROR_BUSY: return UsbStatus::Busy;
        default: return UsbStatus::Failed;
    }
}

class LibusbConnection : public UsbConnection {
public:
    LibusbConnection(std::shared_ptr<libusb_context> context, libusb_device_handle* handle, int interfaceNumber,
                     std::vector<UsbEndpointDescriptor> endpoints)
        : context_(std::move(context)), handle_(handle), interface_(interfaceNumber),
          endpoints_(std::move(endpoints)) {}

    ~LibusbConnection() override {
        libusb_release_interface(handle_, interface_);
        libusb_close(handle_);
    }

    std::vector<UsbEndpointDescriptor> Endpoints() const override { return endpoints_; }

    void Abort() override { aborted_ = true; }
    void Resume() override { aborted_ = false; }

    UsbTransferResult Control(const UsbControlSetup& setup, uint8_t* data, int length, int timeoutMs) override {
        const int result = libusb_control_transfer(handle_, setup.requestType, setup.request, setup.value,
                                                   setup.index, data, static_cast<uint16_t>(length),
                                                   static_cast<unsigned>(std::max(timeoutMs, 1)));
        if (result < 0) return {StatusOf(result), 0};
        return {UsbStatus::Completed, result};
    }

    UsbTransferResult Bulk(uint8_t address, uint8_t* data, int length, int timeoutMs) override {
        if (aborted_) return {UsbStatus::Cancelled, 0};
        int moved = 0;
        const int result = libusb_bulk_transfer(handle_, address, data, length, &moved,
                                                static_cast<unsigned>(std::max(timeoutMs, 1)));
        return {StatusOf(result), moved};
    }

private:
    std::shared_ptr<libusb_context> context_;  // outlives the handle
    libusb_device_handle* handle_;
    int interface_;
    std::vector<UsbEndpointDescriptor> endpoints_;
    std::atomic<bool> aborted_{false};
};

bool IsListed(const libusb_device_descriptor& descriptor, const std::vector<UsbId>& ids) {
    return std::find(ids.begin(), ids.end(), UsbId{descriptor.idVendor, descriptor.idProduct}) != ids.end();
}

// The devices present now, in bus order; only the listed ones unless all.
std::vector<UsbDeviceInfo> PresentDevices(const std::shared_ptr<libusb_context>& context, bool all) {
    std::vector<UsbDeviceInfo> found;
    const std::vector<UsbId> ids = ReadUsbDeviceList();
    if (context == nullptr || (!all && ids.empty())) return found;
    libusb_device** list = nullptr;
    const ssize_t n = libusb_get_device_list(context.get(), &list);
    for (ssize_t i = 0; i < n; ++i) {
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(list[i], &descriptor) != LIBUSB_SUCCESS) continue;
        UsbDeviceInfo info;
        info.listed = IsListed(descriptor, ids);
        if (!all && !info.listed) continue;
        info.bus = libusb_get_bus_number(list[i]);
        info.address = libusb_get_device_address(list[i]);
        info.vendor = descriptor.idVendor;
        info.product = descriptor.idProduct;
        // The device reference keeps the context alive as long as it lives.
        info.device = std::shared_ptr<void>(libusb_ref_device(list[i]), [context](void* device) {
            libusb_unref_device(static_cast<libusb_device*>(device));
        });
        found.push_back(std::move(info));
    }
    if (n >= 0) libusb_free_device_list(list, 1);
    return found;
}

std::vector<UsbEndpointDescriptor> EndpointsOf(libusb_device* device, int& interfaceNumber) {
    std::vector<UsbEndpointDescriptor> endpoints;
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) != LIBUSB_SUCCESS) return endpoints;
    if (config->bNumInterfaces > 0 && config->interface[0].num_altsetting > 0) {
        const libusb_interface_descriptor& setting = config->interface[0].altsetting[0];
        interfaceNumber = setting.bInterfaceNumber;
        for (int i = 0; i < setting.bNumEndpoints; ++i) {
            const libusb_endpoint_descriptor& e = setting.endpoint[i];
            endpoints.push_back({e.bEndpointAddress, e.bmAttributes, e.wMaxPacketSize, e.bInterval});
        }
    }
    libusb_free_config_descriptor(config);
    return endpoints;
}

}  // namespace

LibusbBackend::LibusbBackend() {
    libusb_context* context = nullptr;
    if (libusb_init(&context) == LIBUSB_SUCCESS) context_.reset(context, libusb_exit);
}

std::vector<UsbDeviceInfo> LibusbBackend::Spectrometers() { return PresentDevices(context_, false); }

std::vector<UsbDeviceInfo> LibusbBackend::AllDevices() { return PresentDevices(context_, true); }

UsbOpenResult LibusbBackend::Open(const UsbDeviceInfo& info) {
    auto* device = static_cast<libusb_device*>(info.device.get());
    if (device == nullptr || context_ == nullptr) return {nullptr, UsbStatus::NoDevice};
    int interfaceNumber = 0;
    std::vector<UsbEndpointDescriptor> endpoints = EndpointsOf(device, interfaceNumber);
    if (endpoints.empty()) return {nullptr, UsbStatus::Failed};
    libusb_device_handle* handle = nullptr;
    const int opened = libusb_open(device, &handle);
    if (opened != LIBUSB_SUCCESS) return {nullptr, StatusOf(opened)};
    libusb_set_auto_detach_kernel_driver(handle, 1);
    const int claimed = libusb_claim_interface(handle, interfaceNumber);
    if (claimed != LIBUSB_SUCCESS) {
        libusb_close(handle);
        return {nullptr, StatusOf(claimed)};
    }
    return {std::make_unique<LibusbConnection>(context_, handle, interfaceNumber, std::move(endpoints)),
            UsbStatus::Completed};
}

}  // namespace kestrion
