#include "SimulatedBus.h"

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
        return unit_->Bulk(session_, address, data, length, timeoutMs);
    }

private:
    std::shared_ptr<SimulatedSpectrometer> unit_;
    uint64_t session_;
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

int SimulatedBus::CountDevices() {
    std::lock_guard lock(mutex_);
    int count = 0;
    for (const auto& unit : units_) count += unit->IsPlugged() ? 1 : 0;
    return count;
}

std::unique_ptr<UsbConnection> SimulatedBus::Open(int index) {
    std::lock_guard lock(mutex_);
    for (const auto& unit : units_) {
        if (unit->IsPlugged() && index-- == 0) return std::make_unique<SimulatedConnection>(unit);
    }
    return nullptr;
}

}  // namespace kestrion
