#pragma once

namespace quenlix {

// The switches of the simulated spectrometers, for the Simulator menu and the
// laser control: the program simulates when its USB backend is a bus of
// simulated units. With real hardware there are no switches and setting one
// does nothing.
enum class SimulatorSwitch { SourceOn, SampleIn, LaserFiring };

bool IsSimulating();
// As the first simulated unit has it; false when not simulating.
bool IsSimulatorSwitchOn(SimulatorSwitch which);
// On every simulated unit.
void SetSimulatorSwitch(SimulatorSwitch which, bool on);

}  // namespace quenlix
