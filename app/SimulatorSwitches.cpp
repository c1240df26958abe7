#include "SimulatorSwitches.h"

#include <memory>

#include "simulator/SimulatedBus.h"
#include "usb/UsbBackend.h"

namespace quenlix {
namespace {

std::shared_ptr<kestrion::SimulatedBus> SimulatedUnits() {
    return std::dynamic_pointer_cast<kestrion::SimulatedBus>(kestrion::CurrentUsbBackend());
}

}  // namespace

bool IsSimulating() { return SimulatedUnits() != nullptr; }

bool IsSimulatorSwitchOn(SimulatorSwitch which) {
    const auto bus = SimulatedUnits();
    const auto unit = bus ? bus->Unit(0) : nullptr;
    if (!unit) return false;
    switch (which) {
        case SimulatorSwitch::SourceOn:
            return unit->IsSourceOn();
        case SimulatorSwitch::SampleIn:
            return unit->IsSampleIn();
        case SimulatorSwitch::LaserFiring:
            return unit->IsLaserFiring();
    }
    return false;
}

void SetSimulatorSwitch(SimulatorSwitch which, bool on) {
    const auto bus = SimulatedUnits();
    if (!bus) return;
    for (int k = 0; const auto unit = bus->Unit(k); ++k) {
        switch (which) {
            case SimulatorSwitch::SourceOn:
                unit->SetSourceOn(on);
                break;
            case SimulatorSwitch::SampleIn:
                unit->SetSampleIn(on);
                break;
            case SimulatorSwitch::LaserFiring:
                unit->SetLaserFiring(on);
                break;
        }
    }
}

}  // namespace quenlix
