#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "simulator/SimulatedBus.h"
#include "usb/UsbBackend.h"

namespace kestrion::testing {

// Every test gets its own simulated bus as the link's USB backend.
class SimulatedLinkTest : public ::testing::Test {
protected:
    void SetUp() override { SetUsbBackend(bus); }

    std::shared_ptr<SimulatedSpectrometer> AddUnit(SimulatedUnitSetup setup = {}) {
        auto unit = bus->Add(std::move(setup));
        unit->RecordTraffic(true);
        return unit;
    }

    std::shared_ptr<SimulatedBus> bus = std::make_shared<SimulatedBus>();
};

inline std::vector<WireRecord> ControlRequests(const std::vector<WireRecord>& traffic, uint8_t request) {
    std::vector<WireRecord> found;
    std::copy_if(traffic.begin(), traffic.end(), std::back_inserter(found), [&](const WireRecord& r) {
        return r.kind == WireRecord::Kind::Control && r.setup.request == request;
    });
    return found;
}

inline std::vector<std::vector<uint8_t>> BulkCommands(const std::vector<WireRecord>& traffic) {
    std::vector<std::vector<uint8_t>> commands;
    for (const WireRecord& r : traffic) {
        if (r.kind == WireRecord::Kind::BulkOut) commands.push_back(r.data);
    }
    return commands;
}

// Polls until the condition holds or the limit passes; true when it held.
inline bool WaitFor(const std::function<bool()>& condition,
                    std::chrono::milliseconds limit = std::chrono::milliseconds(3000)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

inline double Polynomial(const std::array<double, 4>& c, double p) {
    return c[0] + c[1] * p + c[2] * p * p + c[3] * p * p * p;
}

}  // namespace kestrion::testing
