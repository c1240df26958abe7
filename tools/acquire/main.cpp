#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "AcquireOptions.h"
#include "AcquireRun.h"
#include "Kestrion.h"
#include "SettingsPath.h"
#include "SignalPipe.h"

int main(int argc, char** argv) {
    using quenlix::AcquireOptions;
    AcquireOptions options;
    std::string error;
    if (!quenlix::ParseAcquireOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "quenlix-acquire: %s\nTry 'quenlix-acquire --help'.\n", error.c_str());
        return quenlix::kExitBadArguments;
    }
    if (options.action == AcquireOptions::Action::Help) {
        std::fputs(quenlix::AcquireUsage("quenlix-acquire").c_str(), stdout);
        return quenlix::kExitDone;
    }
    if (options.action == AcquireOptions::Action::Version) {
        std::printf("quenlix-acquire %s\n", QUENLIX_VERSION);
        return quenlix::kExitDone;
    }
    quenlix::ChooseSettingsFolder(options.settingsFolder);
    if (options.simulatedDevices > 0) {
        UseSimulatedSpectrometers(options.simulatedDevices);
    } else {
        UseUsbSpectrometers();
    }
    // A closed standard output is a failed write (exit 4), not the end of
    // the process with the device still open.
    std::signal(SIGPIPE, SIG_IGN);
    quenlix::SignalPipe stopRequests;
    quenlix::AcquireIo io;
    io.showProgress = ::isatty(STDERR_FILENO) == 1;
    io.takeStopRequests = [&stopRequests] { return stopRequests.TakeSignals(); };
    return quenlix::RunAcquire(options, io);
}
