#pragma once

#include <string>

namespace quenlix {

// --simulate[=N]: N simulated spectrometers in place of the USB hardware,
// kDefaultSimulatedDevices when no N is given. Read alike by the program and
// the command-line tools.
inline constexpr int kDefaultSimulatedDevices = 2;
inline constexpr int kMaxSimulatedDevices = 16;

// count is the text after "--simulate=", or null for a bare --simulate.
// The device count, or -1 with the line that tells what was wrong in error.
int SimulatedDeviceCount(const char* count, std::string& error);

}  // namespace quenlix
