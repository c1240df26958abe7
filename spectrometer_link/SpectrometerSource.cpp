// Choosing where the links find spectrometers: USB hardware or simulated units.

#include <algorithm>
#include <memory>

#include "Kestrion.h"
#include "simulator/SimulatedBus.h"
#include "usb/LibusbBackend.h"

void UseUsbSpectrometers() { kestrion::SetUsbBackend(std::make_shared<kestrion::LibusbBackend>()); }

int UseSimulatedSpectrometers(int count, bool firstMiscalibrated, const std::vector<kestrion::Scene>& scenes) {
    constexpr int kMost = 16;
    constexpr double kTriggersPerSecond = 20;
    count = std::clamp(count, 1, kMost);
    auto bus = std::make_shared<kestrion::SimulatedBus>();
    for (int k = 0; k < count; ++k) {
        kestrion::SimulatedUnitSetup setup =
            k == 0 && firstMiscalibrated ? kestrion::MiscalibratedSimulatedUnit() : kestrion::DefaultSimulatedUnit(k);
        if (!scenes.empty()) setup.scene = scenes[std::min<size_t>(static_cast<size_t>(k), scenes.size() - 1)];
        bus->Add(std::move(setup))->SetExternalTriggerRate(kTriggersPerSecond);
    }
    kestrion::SetUsbBackend(std::move(bus));
    return count;
}
