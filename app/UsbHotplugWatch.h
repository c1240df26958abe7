#pragma once

#include <QTimer>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace kestrion {
class UsbBackend;
}

namespace quenlix {

// Brings the USB backend's news of spectrometers arriving and leaving to the
// window thread. The backend calls from a thread of its own and only leaves
// the latest change in a mailbox; a timer of the window thread empties it
// every kPollMs and runs onChange there. Devices whose pair is not in the
// device list are no spectrometers and are ignored.
//
// Why a mailbox and not a queued call: Qt's event queue is guarded by locks
// ThreadSanitizer cannot see, so a call posted from the backend's thread is
// reported as a race on every suite run; the window thread already runs on
// timers. The mailbox is shared with the backend's callback, and the
// destructor replaces the backend's watcher (the backend is process-wide and
// may outlive this object), so a late call reaches nothing that is gone.
class UsbHotplugWatch {
public:
    enum class Change { Connected, Removed };
    static constexpr int kPollMs = 100;

    UsbHotplugWatch(std::shared_ptr<kestrion::UsbBackend> backend, std::function<void(Change)> onChange);
    ~UsbHotplugWatch();
    UsbHotplugWatch(const UsbHotplugWatch&) = delete;
    UsbHotplugWatch& operator=(const UsbHotplugWatch&) = delete;

    // False where the backend cannot tell arrivals and departures.
    bool Active() const { return active_; }

private:
    struct Mailbox {
        std::mutex mutex;
        std::optional<Change> latest;  // guarded by mutex
    };

    std::shared_ptr<kestrion::UsbBackend> backend_;
    std::function<void(Change)> onChange_;
    std::shared_ptr<Mailbox> mailbox_ = std::make_shared<Mailbox>();
    QTimer timer_;
    bool active_ = false;
};

}  // namespace quenlix
