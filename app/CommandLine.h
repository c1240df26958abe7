#pragma once

#include <string>

namespace quenlix {

// What the command line asks for. The program's own options are --help,
// --version and --simulate[=N] (N simulated spectrometers, 2 when no N is
// given, in place of the USB hardware).
struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    int simulatedDevices = -1;  // -1: real hardware
    std::string error;          // for Action::Error
};

inline constexpr int kMaxSimulatedDevices = 16;

// Reads argv before any window system is touched, so --help and --version
// work without a display. Options of the window system (-platform …) are
// left to Qt.
CommandLine ParseCommandLine(int argc, const char* const* argv);

std::string UsageText(const char* programName);

}  // namespace quenlix
