#include "LibusbBackend.h"

#include <libusb.h>

#include <algorithm>

#include "UsbDeviceList.h"

namespace kestrion {
namespace {

UsbStatus StatusOf(int error) {
    switch (error) {
        case LIBUSB_SUCCESS: return UsbStatus::Completed;
        case LIBUSB_ERROR_TIMEOUT: return UsbStatus::TimedOut;
        case LIBUSB_ERROR_PIPE: return UsbStatus::Stalled;
        case LIBUSB_ERROR_NO_DEVICE: return UsbStatus::NoDevice;
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

    UsbTransferResult Control(const UsbControlSetup& setup, uint8_t* data, int length, int timeoutMs) override {
        const int result = libusb_control_transfer(handle_, setup.requestType, setup.request, setup.value,
                                                   setup.index, data, static_cast<uint16_t>(length),
                                                   static_cast<unsigned>(std::max(timeoutMs, 1)));
        if (result < 0) return {StatusOf(result), 0};
        return {UsbStatus::Completed, result};
    }

    UsbTransferResult Bulk(uint8_t address, uint8_t* data, int length, int timeoutMs) override {
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
};

bool IsListed(libusb_device* device, const std::vector<UsbId>& ids) {
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(device, &descriptor) != LIBUSB_SUCCESS) return false;
    return std::find(ids.begin(), ids.end(), UsbId{descriptor.idVendor, descriptor.idProduct}) != ids.end();
}

// The listed devices present now, in bus order; unreferences the list.
std::vector<libusb_device*> ListedDevices(libusb_context* context) {
    const std::vector<UsbId> ids = ReadUsbDeviceList();
    std::vector<libusb_device*> found;
    if (context == nullptr || ids.empty()) return found;
    libusb_device** list = nullptr;
    const ssize_t n = libusb_get_device_list(context, &list);
    for (ssize_t i = 0; i < n; ++i) {
        if (IsListed(list[i], ids)) found.push_back(libusb_ref_device(list[i]));
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

int LibusbBackend::CountDevices() {
    std::vector<libusb_device*> devices = ListedDevices(context_.get());
    for (libusb_device* device : devices) libusb_unref_device(device);
    return static_cast<int>(devices.size());
}

std::unique_ptr<UsbConnection> LibusbBackend::Open(int index) {
    std::vector<libusb_device*> devices = ListedDevices(context_.get());
    std::unique_ptr<UsbConnection> connection;
    if (index >= 0 && static_cast<size_t>(index) < devices.size()) {
        libusb_device* device = devices[static_cast<size_t>(index)];
        int interfaceNumber = 0;
        std::vector<UsbEndpointDescriptor> endpoints = EndpointsOf(device, interfaceNumber);
        libusb_device_handle* handle = nullptr;
        if (!endpoints.empty() && libusb_open(device, &handle) == LIBUSB_SUCCESS) {
            libusb_set_auto_detach_kernel_driver(handle, 1);
            if (libusb_claim_interface(handle, interfaceNumber) == LIBUSB_SUCCESS) {
                connection = std::make_unique<LibusbConnection>(context_, handle, interfaceNumber,
                                                                std::move(endpoints));
            } else {
                libusb_close(handle);
            }
        }
    }
    for (libusb_device* device : devices) libusb_unref_device(device);
    return connection;
}

}  // namespace kestrion
