// Choosing where the links find spectrometers: USB hardware or simulated units.

#include <algorithm>
#include <memory>

#include "Kestrion.h"
#include "simulator/SimulatedBus.h"
#include "usb/LibusbBackend.h"

void UseUsbSpectrometers() { kestrion::SetUsbBackend(std::make_shared<kestrion::LibusbBackend>()); }

int UseSimulatedSpectrometers(int count, bool firstMiscalibrated) {
    constexpr int kMost = 16;
    count = std::clamp(count, 1, kMost);
    auto bus = std::make_shared<kestrion::SimulatedBus>();
    for (int k = 0; k < count; ++k) {
        bus->Add(k == 0 && firstMiscalibrated ? kestrion::MiscalibratedSimulatedUnit()
                                              : kestrion::DefaultSimulatedUnit(k));
    }
    kestrion::SetUsbBackend(std::move(bus));
    return count;
}
