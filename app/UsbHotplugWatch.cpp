#include "UsbHotplugWatch.h"

#include "usb/UsbBackend.h"

namespace quenlix {

UsbHotplugWatch::UsbHotplugWatch(std::shared_ptr<kestrion::UsbBackend> backend,
                                 std::function<void(Change)> onChange, QObject* parent)
    : QObject(parent), backend_(std::move(backend)), onChange_(std::move(onChange)) {
    active_ = backend_->WatchHotplug([this](const kestrion::UsbHotplugEvent& event) {
        if (!event.device.listed) return;
        const Change change = event.arrived ? Change::Connected : Change::Removed;
        QMetaObject::invokeMethod(
            this, [this, change] { onChange_(change); }, Qt::QueuedConnection);
    });
}

UsbHotplugWatch::~UsbHotplugWatch() { backend_->WatchHotplug(nullptr); }

}  // namespace quenlix
