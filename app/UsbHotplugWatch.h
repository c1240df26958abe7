#pragma once

#include <QObject>
#include <functional>
#include <memory>

namespace kestrion {
class UsbBackend;
}

namespace quenlix {

// Brings the USB backend's news of spectrometers arriving and leaving to the
// window thread. The backend calls from a thread of its own; the call only
// posts the change to this object, whose thread runs onChange later. Devices
// whose pair is not in the device list are no spectrometers and are ignored.
//
// The backend is process-wide and may outlive this object: the destructor
// replaces the backend's watcher, which waits for a call under way and stops
// later ones, so nothing is posted to this object after it is gone (and what
// was posted but not yet run goes with it).
class UsbHotplugWatch : public QObject {
public:
    enum class Change { Connected, Removed };

    UsbHotplugWatch(std::shared_ptr<kestrion::UsbBackend> backend, std::function<void(Change)> onChange,
                    QObject* parent = nullptr);
    ~UsbHotplugWatch() override;

    // False where the backend cannot tell arrivals and departures.
    bool Active() const { return active_; }

private:
    std::shared_ptr<kestrion::UsbBackend> backend_;
    std::function<void(Change)> onChange_;
    bool active_ = false;
};

}  // namespace quenlix
