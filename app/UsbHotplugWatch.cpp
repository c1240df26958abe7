#include "UsbHotplugWatch.h"

#include "usb/UsbBackend.h"

namespace quenlix {

UsbHotplugWatch::UsbHotplugWatch(std::shared_ptr<kestrion::UsbBackend> backend,
                                 std::function<void(Change)> onChange)
    : backend_(std::move(backend)), onChange_(std::move(onChange)) {
    active_ = backend_->WatchHotplug([mailbox = mailbox_](const kestrion::UsbHotplugEvent& event) {
        if (!event.device.listed) return;
        std::lock_guard lock(mailbox->mutex);
        mailbox->latest = event.arrived ? Change::Connected : Change::Removed;
    });
    if (!active_) return;
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        std::optional<Change> change;
        {
            std::lock_guard lock(mailbox_->mutex);
            change = std::exchange(mailbox_->latest, std::nullopt);
        }
        if (change) onChange_(*change);
    });
    timer_.start(kPollMs);
}

UsbHotplugWatch::~UsbHotplugWatch() { backend_->WatchHotplug(nullptr); }

}  // namespace quenlix
