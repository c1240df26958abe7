#pragma once

#include <string>
#include <vector>

#include "simulator/SpectrumScene.h"

#include "SimulateOption.h"

namespace quenlix {

// What the command line asks for. The program's own options are --help,
// --version, --simulate[=N] (N simulated spectrometers, 2 when no N is
// given, in place of the USB hardware), --simulate-miscalibrated (the
// same, 2 unless --simulate gives N, with simulated unit 0's stored
// wavelength calibration a few nm off) and --scene=S[,S…] (the same, 2
// unless --simulate gives N, the simulated units looking at the scenes named,
// one per unit in order, the last for the units beyond the list) and
// --config-dir DIR (or --config-dir=DIR: the settings folder, in place of
// config/ in the working directory or the user's configuration folder).
struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    int simulatedDevices = -1;  // -1: real hardware
    bool firstSimulatedMiscalibrated = false;
    std::vector<kestrion::Scene> scenes;  // empty: lamp on even units, ruby on odd ones
    std::string settingsFolder;      // --config-dir; empty: chosen by the usual rule
    bool windowSystemGiven = false;  // -platform or -display for Qt
    std::string error;               // for Action::Error
};

// Reads argv before any window system is touched, so --help and --version
// work without a display. Options of the window system (-platform …) are
// left to Qt.
CommandLine ParseCommandLine(int argc, const char* const* argv);

// The help, ending with the settings folder in use (CurrentSettingsFolder),
// so the caller chooses that folder first.
std::string UsageText(const char* programName);

// Whether Qt has a window system to start on: one named on the command line
// or in QT_QPA_PLATFORM, or a display in DISPLAY or WAYLAND_DISPLAY. Without
// one Qt aborts, so the program says so and ends instead.
bool FindsWindowSystem(const CommandLine& options);
inline constexpr const char* kNoDisplayText =
    "quenlix: no display found (DISPLAY and WAYLAND_DISPLAY are not set); to run without one, "
    "start it with QT_QPA_PLATFORM=offscreen or under xvfb-run\n";

}  // namespace quenlix
