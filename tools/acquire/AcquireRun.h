#pragma once

#include <cstdio>
#include <functional>

#include "AcquireOptions.h"

namespace quenlix {

// Where a run writes and how it hears that it is asked to stop.
struct AcquireIo {
    std::FILE* out = stdout;  // the list, or CSV with --out -
    std::FILE* err = stderr;  // messages and progress
    bool showProgress = false;
    // Stop requests (Ctrl-C) that came since the last call; asked between
    // frames. The first stops after the spectrum being taken, the second at once.
    std::function<int()> takeStopRequests = [] { return 0; };
};

// Lists the spectrometers, or takes and writes the spectra options ask for,
// from the source chosen beforehand (UseUsbSpectrometers or
// UseSimulatedSpectrometers). Fills and empties the device list: every
// device is stopped and closed before it returns. The exit code.
int RunAcquire(const AcquireOptions& options, AcquireIo& io);

}  // namespace quenlix
