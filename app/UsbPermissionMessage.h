#pragma once

#include <string>
#include <vector>

class QWidget;

namespace quenlix {

// Tells the user, in one message box, which listed spectrometers are
// connected but may not be opened by this user ("bus 1 address 7
// (1a2b:3c4d)", as DiscoverDevices describes them), and how the udev rule
// that admits them is installed. Nothing when the list is empty.
void TellInaccessibleSpectrometers(QWidget* owner, const std::vector<std::string>& devices);

}  // namespace quenlix
