#include "LaserSettings.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "BoundedFile.h"
#include "ReplaceFile.h"
#include "SettingsPath.h"

namespace quenlix {
namespace {

// 22 short lines never come near this; a larger file is no settings file.
constexpr std::size_t kFileLimit = 4096;

// The lines of text without their line ends (LF or CR LF).
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

// The decimal number the line starts with (after blanks, with an optional
// sign), as "%d" reads it; none when there is none or no int holds it.
std::optional<int> Number(std::string_view line) {
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) return std::nullopt;
    line.remove_prefix(start);
    if (line.front() == '+') line.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (error != std::errc() || end == line.data()) return std::nullopt;
    return value;
}

// A positive count or time; anything else becomes 1.
void TakePositive(std::string_view line, int& setting) {
    if (const auto n = Number(line)) setting = *n > 0 ? *n : 1;
}

}  // namespace

LaserSettings ReadLaserSettingsFile() {
    LaserSettings s;
    const FileContent file = ReadBoundedFile(SettingsPath(kLibsLaserFile), kFileLimit);
    const std::vector<std::string_view> lines = Lines(file.bytes);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::string_view name = lines[i];
        const std::string_view value = lines[i + 1];
        if (name == "BOpenLaserControl") {
            s.BOpenLaserControl = value != "0";
        } else if (name == "ControlMode") {
            if (const auto n = Number(value)) s.ControlMode = *n == 2 ? 2 : 1;
        } else if (name == "CommPort") {
            if (const auto n = Number(value)) s.CommPort = *n > 0 && *n <= 1000 ? *n : 1;
        } else if (name == "PulseWidthUsec") {
            TakePositive(value, s.PulseWidthUsec);
        } else if (name == "HZ") {
            TakePositive(value, s.HZ);
        } else if (name == "Delay0Ns") {
            TakePositive(value, s.Delay0Ns);
        } else if (name == "Delay1Ns") {
            TakePositive(value, s.Delay1Ns);
        } else if (name == "DelayStepNs") {
            TakePositive(value, s.DelayStepNs);
        } else if (name == "GrabCount") {
            TakePositive(value, s.GrabCount);
        } else if (name == "BKeepStrongestSpec") {
            s.BKeepStrongestSpec = value == "1";
        } else if (name == "TrigMode") {
            if (const auto n = Number(value)) s.TrigMode = *n > 0 ? 1 : 0;
        } else {
            continue;
        }
        ++i;  // the value line is no name
    }
    return s;
}

bool WriteLaserSettingsFile(const LaserSettings& s) {
    const std::pair<const char*, int> rows[] = {
        {"BOpenLaserControl", s.BOpenLaserControl ? 1 : 0},
        {"ControlMode", s.ControlMode},
        {"CommPort", s.CommPort},
        {"PulseWidthUsec", s.PulseWidthUsec},
        {"HZ", s.HZ},
        {"Delay0Ns", s.Delay0Ns},
        {"Delay1Ns", s.Delay1Ns},
        {"DelayStepNs", s.DelayStepNs},
        {"GrabCount", s.GrabCount},
        {"BKeepStrongestSpec", s.BKeepStrongestSpec ? 1 : 0},
        {"TrigMode", s.TrigMode},
    };
    std::string text;
    for (const auto& [name, value] : rows) {
        char line[64];
        std::snprintf(line, sizeof line, "%s\r\n%d\r\n", name, value);
        text += line;
    }
    return WriteFileReplacing(SettingsPathForWrite(kLibsLaserFile), text);
}

}  // namespace quenlix
