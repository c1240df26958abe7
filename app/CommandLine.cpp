#include "CommandLine.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

#include "SettingsPath.h"

namespace quenlix {
namespace {

// Options that Qt itself reads, with whether they take a value.
bool IsQtOption(const char* arg, bool& takesValue) {
    static const char* const withValue[] = {"-platform", "-platformpluginpath", "-platformtheme", "-plugin",
                                            "-qmljsdebugger", "-style", "-stylesheet", "-display",
                                            "-geometry", "-qwindowgeometry", "-qwindowtitle", "-qwindowicon"};
    static const char* const plain[] = {"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync"};
    for (const char* o : withValue) {
        if (std::strcmp(arg, o) == 0 || (arg[0] == '-' && std::strcmp(arg + 1, o) == 0)) {
            takesValue = true;
            return true;
        }
    }
    for (const char* o : plain) {
        if (std::strcmp(arg, o) == 0 || (arg[0] == '-' && std::strcmp(arg + 1, o) == 0)) {
            takesValue = false;
            return true;
        }
    }
    return false;
}

CommandLine Error(std::string text) {
    CommandLine result;
    result.action = CommandLine::Action::Error;
    result.error = std::move(text);
    return result;
}

// Reads a comma-separated list of scene names into scenes; the first name
// that is no scene (perhaps an empty one) when there is one.
std::optional<std::string_view> ReadScenes(std::string_view list, std::vector<kestrion::Scene>& scenes) {
    scenes.clear();
    for (size_t start = 0;;) {
        const size_t comma = std::min(list.find(',', start), list.size());
        const std::string_view name = list.substr(start, comma - start);
        const auto scene = kestrion::SceneNamed(name);
        if (!scene) return name;
        scenes.push_back(*scene);
        if (comma == list.size()) return std::nullopt;
        start = comma + 1;
    }
}

const char* WhyThisSettingsFolder(SettingsFolder::Source source) {
    switch (source) {
        case SettingsFolder::Source::Option:
            return "given by --config-dir";
        case SettingsFolder::Source::WorkingDirectory:
            return "config/ in the working directory";
        case SettingsFolder::Source::XdgConfigHome:
            return "$XDG_CONFIG_HOME/quenlix";
        case SettingsFolder::Source::HomeConfig:
            return "~/.config/quenlix";
        case SettingsFolder::Source::NoHome:
            break;
    }
    return "HOME is not set: config/ in the working directory";
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine result;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        bool takesValue = false;
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            result.action = CommandLine::Action::Help;
            return result;
        }
        if (std::strcmp(arg, "--version") == 0) {
            result.action = CommandLine::Action::Version;
            return result;
        }
        if (std::strcmp(arg, "--simulate") == 0 || std::strncmp(arg, "--simulate=", 11) == 0) {
            std::string error;
            result.simulatedDevices = SimulatedDeviceCount(arg[10] == '=' ? arg + 11 : nullptr, error);
            if (result.simulatedDevices < 0) return Error(error);
        } else if (std::strcmp(arg, "--simulate-miscalibrated") == 0) {
            result.firstSimulatedMiscalibrated = true;
        } else if (std::strncmp(arg, "--scene=", 8) == 0) {
            if (const auto unknown = ReadScenes(arg + 8, result.scenes))
                return Error("--scene: no scene '" + std::string(*unknown) +
                             "'; the scenes are lamp, ruby, sample and libs, one or a comma list");
        } else if (std::strcmp(arg, "--config-dir") == 0 || std::strncmp(arg, "--config-dir=", 13) == 0) {
            const char* folder = arg[12] == '=' ? arg + 13 : (i + 1 < argc ? argv[++i] : "");
            // An option in the folder's place means the folder was left out.
            if (*folder == '\0' || *folder == '-')
                return Error("--config-dir needs a folder: --config-dir DIR or --config-dir=DIR");
            result.settingsFolder = folder;
        } else if (IsQtOption(arg, takesValue)) {
            const char* name = arg + (arg[1] == '-' ? 2 : 1);
            if (std::strcmp(name, "platform") == 0 || std::strcmp(name, "display") == 0)
                result.windowSystemGiven = true;
            if (takesValue) ++i;
        } else {
            return Error(std::string("unknown option '") + arg + "'");
        }
    }
    if ((result.firstSimulatedMiscalibrated || !result.scenes.empty()) && result.simulatedDevices < 0)
        result.simulatedDevices = kDefaultSimulatedDevices;
    return result;
}

bool FindsWindowSystem(const CommandLine& options) {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return options.windowSystemGiven || set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

std::string UsageText(const char* programName) {
    const SettingsFolder settings = CurrentSettingsFolder();
    return std::string("Usage: ") + programName +
           " [--simulate[=N]] [--simulate-miscalibrated] [--scene=S[,S...]] [--config-dir DIR]\n"
           "Spectrometer analysis software for USB array spectrometers.\n\n"
           "  --simulate[=N]            use N simulated spectrometers (default 2) instead of USB devices\n"
           "  --simulate-miscalibrated  like --simulate, with unit 0's wavelength calibration a few nm off,\n"
           "                            to try the calibration page\n"
           "  --scene=S[,S...]          like --simulate, with what the simulated units look at, one scene\n"
           "                            per unit in order, the last for the rest (default: lamp on even\n"
           "                            units, ruby on odd ones):\n"
           "                              lamp    mercury-argon lamp lines, for calibrating\n"
           "                              ruby    ruby fluorescence doublet\n"
           "                              sample  white source through a sample with two absorption bands;\n"
           "                                      store dark with the source off, reference with the\n"
           "                                      sample out (Simulator menu), then show absorbance\n"
           "                              libs    plasma lines, in externally triggered frames while the\n"
           "                                      laser fires (Simulator > Laser Firing, or laser control)\n"
           "  --config-dir DIR          keep the settings files in DIR (also --config-dir=DIR)\n"
           "  --help                    show this help and exit\n"
           "  --version                 show the version and exit\n\n"
           "Settings are kept in the folder given by --config-dir; without it in config/ under the\n"
           "working directory when that folder exists (a portable installation), else in\n"
           "$XDG_CONFIG_HOME/quenlix (~/.config/quenlix when XDG_CONFIG_HOME is unset or not an\n"
           "absolute path). The folder is created when a setting is first saved.\n"
           "Settings folder: " +
           settings.path + " (" + WhyThisSettingsFolder(settings.source) + ")\n";
}

}  // namespace quenlix
