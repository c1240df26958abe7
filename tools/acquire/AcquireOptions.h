#pragma once

#include <string>

#include "AutoIntegration.h"

namespace quenlix {

// What a quenlix-acquire command line asks for, checked as a whole.
struct AcquireOptions {
    enum class Action { Acquire, List, Help, Version };
    enum class Trigger { Clock, Soft, External };
    enum class Format { Text, Csv, Jcamp };

    Action action = Action::Acquire;
    int simulatedDevices = -1;  // -1: the USB hardware
    int deviceNumber = 0;       // as --list numbers them; unused with a serial number
    std::string serialNumber;   // empty: by number
    double integrationMs = 0;  // with autoIntegration the time the search starts from
    bool autoIntegration = false;  // find the time before the spectra are taken
    double autoTarget = AutoIntegration::kDefaultTarget;  // of full scale
    int autoMargin = AutoIntegration::kDefaultMargin;     // pixels left out at each end
    int avgCount = 1;
    int smoothness = 0;
    int count = 1;
    int intervalMs = 0;  // 0: each spectrum as soon as the last one is written
    std::string darkFile;
    bool takeDark = false;
    std::string referenceFile;
    int xType = 0;  // the preprocessor's unit codes
    int yType = 0;
    double excitationNm = 785.0;
    Trigger trigger = Trigger::Clock;
    std::string outDir;     // empty with toStdout
    bool toStdout = false;  // --out -: CSV on standard output
    Format format = Format::Text;
    std::string prefix = "spectrum_";
    std::string settingsFolder;  // --config-dir; empty: the program's usual settings folder

    bool NeedsDark() const { return yType != 0; }
    bool NeedsReference() const { return yType >= 2 && yType <= 4; }
};

// The exit codes, as --help tells them.
enum AcquireExit {
    kExitDone = 0,
    kExitBadArguments = 1,
    kExitNoSuchDevice = 2,
    kExitDeviceFailed = 3,
    kExitOutputNotWritable = 4,
};

// Reads argv[1 …]. Options are "--name value" or "--name=value"; each may be
// given once. False with one line naming the option at fault in error.
bool ParseAcquireOptions(int argc, const char* const* argv, AcquireOptions& options, std::string& error);

std::string AcquireUsage(const char* programName);

}  // namespace quenlix
