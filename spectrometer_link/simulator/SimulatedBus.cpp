#include "SimulatedBus.h"

#include <atomic>

namespace kestrion {
namespace {

class SimulatedConnection : public UsbConnection {
public:
    explicit SimulatedConnection(std::shared_ptr<SimulatedSpectrometer> unit)
        : unit_(std::move(unit)), session_(unit_->Session()) {}

    std::vector<UsbEndpointDescriptor> Endpoints() const override {
        constexpr uint8_t kBulk = 2;
        return {{SimulatedSpectrometer::kCommandEndpoint, kBulk, 512, 0},
                {SimulatedSpectrometer::kStatusEndpoint, kBulk, 512, 0},
                {SimulatedSpectrometer::kFrameEndpoint, kBulk, 512, 0}};
    }

    UsbTransferResult Control(const UsbControlSetup& setup, uint8_t* data, int length, int) override {
        return unit_->Control(session_, setup, data, length);
    }

    UsbTransferResult Bulk(uint8_t address, uint8_t* data, int length, int timeoutMs) override {
        if (aborted_) return {UsbStatus::Cancelled, 0};
        return unit_->Bulk(session_, address, data, length, timeoutMs, &aborted_);
    }

    void Abort() override {
        aborted_ = true;
        unit_->WakeWaiters();
    }

    void Resume() override { aborted_ = false; }

private:
    std::shared_ptr<SimulatedSpectrometer> unit_;
    uint64_t session_;
    std::atomic<bool> aborted_{false};
};

}  // namespace

std::shared_ptr<SimulatedSpectrometer> SimulatedBus::Add(SimulatedUnitSetup setup) {
    auto unit = std::make_shared<SimulatedSpectrometer>(std::move(setup));
    std::lock_guard lock(mutex_);
    units_.push_back(unit);
    return unit;
}

std::shared_ptr<SimulatedSpectrometer> SimulatedBus::Unit(int i) const {
    std::lock_guard lock(mutex_);
    return i >= 0 && static_cast<size_t>(i) < units_.size() ? units_[static_cast<size_t>(i)] : nullptr;
}

SimulatedBus::~SimulatedBus() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stopWatching_.notify_all();
    if (watchThread_.joinable()) watchThread_.join();
}

UsbDeviceInfo SimulatedBus::InfoOf(size_t k) const {
    UsbDeviceInfo info;
    info.bus = 1;
    info.address = static_cast<int>(k) + 2;
    info.vendor = kVendor;
    info.product = kProduct;
    info.manufacturer = "Quenlix";
    info.productName = "Simulated spectrometer";
    info.listed = true;
    info.device = units_[k];
    return info;
}

std::vector<UsbDeviceInfo> SimulatedBus::Spectrometers() {
    std::lock_guard lock(mutex_);
    std::vector<UsbDeviceInfo> present;
    for (size_t k = 0; k < units_.size(); ++k) {
        if (units_[k]->IsPlugged()) present.push_back(InfoOf(k));
    }
    return present;
}

std::vector<UsbDeviceInfo> SimulatedBus::AllDevices() { return Spectrometers(); }

UsbOpenResult SimulatedBus::Open(const UsbDeviceInfo& device) {
    std::lock_guard lock(mutex_);
    for (const auto& unit : units_) {
        if (unit == device.device && unit->IsPlugged()) {
            return {std::make_unique<SimulatedConnection>(unit), UsbStatus::Completed};
        }
    }
    return {nullptr, UsbStatus::NoDevice};
}

bool SimulatedBus::WatchHotplug(std::function<void(const UsbHotplugEvent&)> onChange) {
    {
        std::lock_guard lock(watcherMutex_);
        onChange_ = std::move(onChange);
    }
    std::lock_guard lock(mutex_);
    if (watchThread_.joinable()) return true;
    // What is there now is no change; the first look is taken here, not
    // when the thread gets to run.
    for (const auto& unit : units_) seen_.push_back(unit->IsPlugged());
    watchThread_ = std::thread([this] { WatchUnits(); });
    return true;
}

void SimulatedBus::WatchUnits() {
    std::unique_lock lock(mutex_);
    while (!stopWatching_.wait_for(lock, std::chrono::milliseconds(kHotplugPollMs),
                                   [this] { return stopping_; })) {
        std::vector<UsbHotplugEvent> changes;
        seen_.resize(units_.size(), false);  // a unit added since is new
        for (size_t k = 0; k < units_.size(); ++k) {
            const bool plugged = units_[k]->IsPlugged();
            if (plugged != seen_[k]) changes.push_back({plugged, InfoOf(k)});
            seen_[k] = plugged;
        }
        lock.unlock();
        for (UsbHotplugEvent& change : changes) {
            change.device.device.reset();  // an event carries no reference
            std::lock_guard watching(watcherMutex_);
            if (onChange_) onChange_(change);
        }
        lock.lock();
    }
}

}  // namespace kestrion
