#pragma once

#include <QString>
#include <cstdint>

namespace quenlix {

// The udev rules file, as the source tree holds it, that lets a normal user
// open the spectrometers.
inline constexpr const char* kUdevRulesFile = "spectrometer_link/udev/70-quenlix-spectrometers.rules";

// The line of that file that admits devices of one vendor:product pair:
// the user at the seat (uaccess) and members of plugdev.
QString UdevRuleLine(uint16_t vendor, uint16_t product);

// The two commands that install the rules file and make udev apply it.
QString UdevInstallCommands();

}  // namespace quenlix
