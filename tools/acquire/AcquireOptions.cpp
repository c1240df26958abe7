#include "AcquireOptions.h"

#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <set>
#include <string_view>

#include "SimulateOption.h"

namespace quenlix {
namespace {

using Error = std::string;

bool WholeNumber(const char* option, const char* value, long low, long high, int& out, Error& error) {
    long n = 0;
    const char* end = value + std::strlen(value);
    const auto [stop, fault] = std::from_chars(value, end, n);
    if (*value == '\0' || fault != std::errc() || stop != end || n < low || n > high) {
        error = std::string("--") + option + " takes a whole number from " + std::to_string(low) + " to " +
                std::to_string(high) + ", not '" + value + "'";
        return false;
    }
    out = static_cast<int>(n);
    return true;
}

// from_chars reads '.' as the decimal separator whatever the locale.
bool PositiveNumber(const char* option, const char* value, double& out, Error& error) {
    double x = 0;
    const char* end = value + std::strlen(value);
    const auto [stop, fault] = std::from_chars(value, end, x);
    if (*value == '\0' || fault != std::errc() || stop != end || !std::isfinite(x) || x <= 0) {
        error = std::string("--") + option + " takes a number above 0, not '" + value + "'";
        return false;
    }
    out = x;
    return true;
}

bool Fraction(const char* option, const char* value, double& out, Error& error) {
    double x = 0;
    if (!PositiveNumber(option, value, x, error) || x > 1) {
        error = std::string("--") + option + " takes a fraction of full scale above 0 and at most 1, not '" +
                value + "'";
        return false;
    }
    out = x;
    return true;
}

bool Text(const char* option, const char* value, const char* what, std::string& out, Error& error) {
    if (*value == '\0') {
        error = std::string("--") + option + " takes " + what + ", not an empty text";
        return false;
    }
    out = value;
    return true;
}

// The position of value among names; the codes of the units and modes
// follow the order of their names.
template <std::size_t N>
bool Choice(const char* option, const char* value, const std::array<const char*, N>& names, int& out,
            Error& error) {
    for (std::size_t i = 0; i < N; ++i) {
        if (std::strcmp(value, names[i]) == 0) {
            out = static_cast<int>(i);
            return true;
        }
    }
    error = std::string("--") + option + " takes ";
    for (std::size_t i = 0; i < N; ++i)
        error += std::string(names[i]) + (i + 2 < N ? ", " : i + 2 == N ? " or " : "");
    error += std::string(", not '") + value + "'";
    return false;
}

constexpr std::array<const char*, 6> kYNames = {"raw",        "dark",       "transmission",
                                                "reflection", "absorbance", "db"};
constexpr std::array<const char*, 6> kXNames = {"nm", "um", "pixel", "ghz", "wavenumber", "raman"};
constexpr std::array<const char*, 3> kTriggerNames = {"clock", "soft", "external"};
constexpr std::array<const char*, 3> kFormatNames = {"txt", "csv", "jcamp"};

enum class Takes { Nothing, Value, OptionalValue };

// One option: its name without the dashes and what it does with its value
// (null when none was given).
struct OptionRow {
    const char* name;
    Takes takes;
    bool (*apply)(AcquireOptions&, const char* value, Error&);
};

// --help and --version are looked for before the table is read.
const OptionRow kOptions[] = {
    {"list", Takes::Nothing,
     [](AcquireOptions& o, const char*, Error&) { return o.action = AcquireOptions::Action::List, true; }},
    {"simulate", Takes::OptionalValue,
     [](AcquireOptions& o, const char* v, Error& e) {
         return (o.simulatedDevices = SimulatedDeviceCount(v, e)) > 0;
     }},
    {"device", Takes::Value,
     [](AcquireOptions& o, const char* v, Error& e) {
         return WholeNumber("device", v, 0, INT_MAX, o.deviceNumber, e);
     }},
    {"serial", Takes::Value,
     [](AcquireOptions& o, const char* v, Error& e) {
         return Text("serial", v, "a serial number", o.serialNumber, e);
     }},
    {"integration-ms", Takes::Value,
     [](AcquireOptions& o, const char* v, Error& e) {
         return PositiveNumber("integration-ms", v, o.integrationMs, e);
     }},
    {"auto-integration", Takes::OptionalValue,
     [](AcquireOptions& o, const char* v, Error& e) {
         o.autoIntegration = true;
         return v == nullptr || Fraction("auto-integration", v, o.autoTarget, e);
     }},
    {"auto-margin", Takes::Value,
     [](AcquireOptions& o, const char* v, Error& e) {
         return WholeNumber("auto-margin", v, 0, INT_MAX, o.autoMargin, e);
     }},
    {"average", Takes::Value,
     [](AcquireOptions& o, const char* v, Error& e) {
         return WholeNumber("average", v, 1, INT_MAX, o.avgCount, e);
     }},
    {"smooth", Takes::Value,
     [](AcquireOptions& o, const char* v, Error& e) {
         return WholeNumber("smooth", v, 0, INT_MAX, o.smoothness, e);
     }},
    {"count", Takes::Value,
     [](AcquireOptions& o, const char* v, Error& e) {
         return WholeNumber("count", v, 1, INT_MAX, o.count, e);
     }},
    {"interval-ms", Takes::Value,
     [](AcquireOptions& o, const char* v, Error& e) {
         return WholeNumber("interval-ms", v, 0, INT_MAX, o.intervalMs, e);
     }},
    {"dark", Takes::Value,
     [](AcquireOptions& o, const char* v, Error& e) {
         return Text("dark", v, "a spectrum file", o.darkFile, e);
     }},
    {"take-dark", Takes::Nothing, [](AcquireOptions& o, const char*, Error&) { return o.takeDark = true; }},
    {"reference", Takes::Value,
     [](AcquireOptions& o, const char* v, Error& e) {
         return Text("reference", v, "a spectrum file", o.referenceFile, e);
     }},
    {"y", Takes::Value,
     [](AcquireOptions& o, const char* v, Error& e) { return Choice("y", v, kYNames, o.yType, e); }},
    {"x", Takes::Value,
     [](AcquireOptions& o, const char* v, Error& e) { return Choice("x", v, kXNames, o.xType, e); }},
    {"excitation", Takes::Value,
     [](AcquireOptions& o, const char* v, Error& e) {
         return PositiveNumber("excitation", v, o.excitationNm, e);
     }},
    {"trigger", Takes::Value,
     [](AcquireOptions& o, const char* v, Error& e) {
         int mode = 0;
         if (!Choice("trigger", v, kTriggerNames, mode, e)) return false;
         o.trigger = static_cast<AcquireOptions::Trigger>(mode);
         return true;
     }},
    {"out", Takes::Value,
     [](AcquireOptions& o, const char* v, Error& e) {
         o.toStdout = std::strcmp(v, "-") == 0;
         if (!o.toStdout) o.outDir = v;
         if (*v == '\0') e = "--out takes a folder or -, not an empty text";
         return *v != '\0';
     }},
    {"format", Takes::Value,
     [](AcquireOptions& o, const char* v, Error& e) {
         int format = 0;
         if (!Choice("format", v, kFormatNames, format, e)) return false;
         o.format = static_cast<AcquireOptions::Format>(format);
         return true;
     }},
    {"prefix", Takes::Value,
     [](AcquireOptions& o, const char* v, Error& e) {
         o.prefix = v;
         if (std::strchr(v, '/') != nullptr)
             e = std::string("--prefix is the start of a file name, not '") + v + "'";
         return std::strchr(v, '/') == nullptr;
     }},
    // The real spectrometers are those listed in the settings folder's usb devices.txt.
    {"config-dir", Takes::Value,
     [](AcquireOptions& o, const char* v, Error& e) {
         return Text("config-dir", v, "a folder", o.settingsFolder, e);
     }},
};

const OptionRow* FindOption(std::string_view name) {
    for (const OptionRow& row : kOptions) {
        if (name == row.name) return &row;
    }
    return nullptr;
}

// The rules between options, once each was read.
bool CheckTogether(AcquireOptions& o, const std::set<std::string>& given, Error& error) {
    const auto has = [&given](const char* name) { return given.count(name) != 0; };
    if (o.action == AcquireOptions::Action::List) {
        for (const std::string& name : given) {
            if (name == "list" || name == "simulate" || name == "config-dir") continue;
            error = "--list takes no other option but --simulate and --config-dir, not --" + name;
            return false;
        }
        return true;
    }
    if (has("device") && has("serial")) {
        error = "--device and --serial both choose the spectrometer: give one of them";
        return false;
    }
    if (!has("integration-ms")) {
        error = "--integration-ms is missing: the integration time in milliseconds";
        return false;
    }
    if (!has("out")) {
        error = "--out is missing: the folder to write into, or - for CSV on standard output";
        return false;
    }
    if (has("dark") && o.takeDark) {
        error = "--dark and --take-dark both give the dark spectrum: give one of them";
        return false;
    }
    const bool dark = has("dark") || o.takeDark;
    if (o.autoIntegration && dark) {
        error = std::string("--auto-integration changes the integration time, which ") +
                (o.takeDark ? "--take-dark" : "--dark") + " must match: give one of them";
        return false;
    }
    if (o.autoIntegration && o.trigger != AcquireOptions::Trigger::Clock) {
        error = "--auto-integration needs --trigger clock: it judges frames as they come";
        return false;
    }
    if (has("auto-margin") && !o.autoIntegration) {
        error = "--auto-margin is used only with --auto-integration";
        return false;
    }
    // A dark spectrum given is meant to be subtracted.
    if (!has("y") && dark) o.yType = 1;
    const std::string y = std::string("--y ") + kYNames[o.yType];
    if (o.NeedsDark() && !dark) {
        error = y + " needs a dark spectrum: give --dark FILE or --take-dark";
        return false;
    }
    if (o.NeedsReference() != has("reference")) {
        error = o.NeedsReference()
                    ? y + " needs --reference FILE"
                    : "--reference is used only with --y transmission, reflection or absorbance";
        return false;
    }
    if (has("excitation") && o.xType != 5) {
        error = "--excitation is used only with --x raman";
        return false;
    }
    if (o.toStdout && has("format") && o.format != AcquireOptions::Format::Csv) {
        error = std::string("--format ") + kFormatNames[static_cast<int>(o.format)] +
                " cannot go to standard output: --out - writes CSV";
        return false;
    }
    if (o.toStdout && has("prefix")) {
        error = "--prefix names files: it has no use with --out -";
        return false;
    }
    if (o.toStdout) o.format = AcquireOptions::Format::Csv;
    return true;
}

}  // namespace

bool ParseAcquireOptions(int argc, const char* const* argv, AcquireOptions& options, std::string& error) {
    options = AcquireOptions();
    // Help and version are shown whatever else the line holds.
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") return options.action = AcquireOptions::Action::Help, true;
        if (arg == "--version") return options.action = AcquireOptions::Action::Version, true;
    }
    std::set<std::string> given;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.size() < 3 || arg.substr(0, 2) != "--") {
            error = "unexpected argument '" + std::string(arg) + "': options start with --";
            return false;
        }
        const std::size_t equals = arg.find('=');
        const std::string name(
            arg.substr(2, equals == std::string_view::npos ? std::string_view::npos : equals - 2));
        const OptionRow* row = FindOption(name);
        if (row == nullptr) {
            error = "unknown option '--" + name + "'";
            return false;
        }
        if (!given.insert(name).second) {
            error = "--" + name + " is given twice";
            return false;
        }
        const char* value = equals == std::string_view::npos ? nullptr : argv[i] + equals + 1;
        if (row->takes == Takes::Nothing && value != nullptr) {
            error = "--" + name + " takes no value";
            return false;
        }
        if (row->takes == Takes::Value && value == nullptr) {
            // "-" is a value (standard output); "--…" is the next option.
            if (i + 1 >= argc || std::strncmp(argv[i + 1], "--", 2) == 0) {
                error = "--" + name + " needs a value";
                return false;
            }
            value = argv[++i];
        }
        if (!row->apply(options, value, error)) return false;
    }
    return CheckTogether(options, given, error);
}

std::string AcquireUsage(const char* programName) {
    const std::string name = programName;
    return "Usage: " + name +
           " --list [--simulate[=N]] [--config-dir DIR]\n"
           "       " +
           name +
           " [--device N | --serial S] --integration-ms T --out DIR|- [options]\n"
           "Takes spectra from a USB array spectrometer and writes one file per spectrum, without a window.\n"
           "\n"
           "  --list                 one line per spectrometer found: number, model, serial number,\n"
           "                         firmware, pixels, wavelength range in nm (tab-separated)\n"
           "  --device N             the spectrometer numbered N by --list (default 0)\n"
           "  --serial S             the spectrometer with serial number S\n"
           "  --integration-ms T     integration time in milliseconds (within the model's limits)\n"
           "  --auto-integration[=F] before the spectra, find the time at which the highest pixel sits\n"
           "                         at F of full scale (0 < F <= 1, default 0.8) in at most 6 frames,\n"
           "                         starting from --integration-ms; tells the outcome on standard error\n"
           "  --auto-margin M        pixels at each end left out of that highest pixel (default 10)\n"
           "  --average A            frames averaged into each spectrum (default 1)\n"
           "  --smooth S             boxcar smoothing half-width in pixels (default 0)\n"
           "  --count K              spectra to write (default 1)\n"
           "  --interval-ms I        start a spectrum every I ms (default 0: one after another)\n"
           "  --dark FILE            dark spectrum, a raw-count spectrum file of the same device\n"
           "  --take-dark            take the first spectrum as the dark (light blocked); it is not written\n"
           "  --y UNIT               raw, dark (dark subtracted), transmission, reflection, absorbance or "
           "db;\n"
           "                         default raw, or dark when a dark spectrum is given\n"
           "  --reference FILE       reference spectrum (raw counts) for transmission, reflection, "
           "absorbance\n"
           "  --x UNIT               nm (default), um, pixel, ghz, wavenumber or raman (Raman shift)\n"
           "  --excitation NM        excitation wavelength of the Raman shift (default 785)\n"
           "  --trigger MODE         clock (default), soft (each frame asked for) or external\n"
           "  --out DIR|-            an existing folder for the files, or - for CSV on standard output\n"
           "  --format FORMAT        txt (the program's spectrum text, default), csv or jcamp (JCAMP-DX)\n"
           "  --prefix P             file names P00000.txt, P00001.txt, ... (default spectrum_);\n"
           "                         files of those names are replaced\n"
           "  --simulate[=N]         use N simulated spectrometers (default 2) instead of USB devices\n"
           "  --config-dir DIR       the settings folder, whose usb devices.txt lists the spectrometers\n"
           "                         looked for (default: the one quenlix --help names)\n"
           "  --help                 show this help and exit\n"
           "  --version              show the version and exit\n"
           "\n"
           "Progress goes to standard error when it is a terminal. Ctrl-C (or SIGTERM, SIGHUP) stops after\n"
           "the spectrum being taken is written and ends with 0; a second one stops at once. Files are\n"
           "written whole or not at all. When --auto-integration cannot reach its target (too bright at the\n"
           "shortest time, too dark at the longest, or not within 6 frames) the spectra are taken at the\n"
           "time it ended at, and the run still ends with 0.\n"
           "\n"
           "A pixel that reaches the model's full scale in any frame of a spectrum is saturated: standard\n"
           "error says when saturation starts (with the pixel count) and ends, and sums it up at the end;\n"
           "each file of a saturated spectrum carries its count.\n"
           "\n"
           "Exit status:\n"
           "  0  done (also when stopped by Ctrl-C)\n"
           "  1  bad arguments (the line on standard error names the option)\n"
           "  2  no such spectrometer\n"
           "  3  the spectrometer failed during acquisition\n"
           "  4  output not writable\n";
}

}  // namespace quenlix
