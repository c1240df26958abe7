#pragma once

#include <string>
#include <vector>

class QWidget;

namespace quenlix {

// Tells the user, in one message box, which listed spectrometers are
// connected but may not be opened by this user ("bus 1 address 7
// (1a2b:3c4d)", as DiscoverDevices describes them), and how the udev rule
// that admits them is installed. Nothing when the list is empty.
//
// The box opens once the caller is back in the event loop: a rescan may run
// inside a page's acquisition step, which must not sit in a modal box while
// timers fire. While one such message is queued or open, later ones are
// dropped: the user is being told already. UI thread only.
void TellInaccessibleSpectrometers(QWidget* owner, const std::vector<std::string>& devices);

}  // namespace quenlix
