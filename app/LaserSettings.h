#pragma once

namespace quenlix {

inline constexpr const char* kLibsLaserFile = "config/libs-laser.bin";

// The LIBS laser's settings as kept in "config/libs-laser.bin": 22 ASCII
// lines, each ending in CR LF, each setting's name on one line and its value
// ("%d", booleans 0 or 1) on the next, in the order of the members below.
struct LaserSettings {
    bool BOpenLaserControl = true;
    int ControlMode = 1;  // 1 software start and stop; 2 grab and save at several delays
    int CommPort = 1;
    int PulseWidthUsec = 10;
    int HZ = 20;
    int Delay0Ns = 30;  // acquisition delay of mode 1
    // Mode 2 and keep-strongest have no use here; they are carried from the
    // file back into it.
    int Delay1Ns = 40;
    int DelayStepNs = 50;
    int GrabCount = 60;
    bool BKeepStrongestSpec = false;
    int TrigMode = 0;  // 0 internal, 1 external trigger
};

// The settings in the file; a missing, unreadable or oversized file gives the
// initial values. A name line takes the next line as its value; a value out
// of range is brought into range (port 1..1000 else 1, control mode 1 or 2
// else 1, counts and times above 0 else 1, trigger 0 or 1); a number no int
// holds, or no number, leaves the setting as it was. Other lines are skipped.
LaserSettings ReadLaserSettingsFile();
bool WriteLaserSettingsFile(const LaserSettings& settings);

}  // namespace quenlix
