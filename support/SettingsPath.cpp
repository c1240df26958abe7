#include "SettingsPath.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace quenlix {
namespace {

constexpr std::string_view kFolder = "config";

bool IsConfigFolder(std::string_view part) {
    return part.size() == kFolder.size() &&
           std::equal(part.begin(), part.end(), kFolder.begin(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

}  // namespace

std::string SettingsPath(std::string_view settingsName) {
    std::string name(settingsName);
    std::replace(name.begin(), name.end(), '\\', '/');
    const auto slash = name.find('/');
    if (slash != std::string::npos && IsConfigFolder(std::string_view(name).substr(0, slash))) {
        name.erase(0, slash + 1);
    }
    return std::string(kFolder) + "/" + name;
}

std::string SettingsPathForWrite(std::string_view settingsName) {
    std::string path = SettingsPath(settingsName);
    std::error_code ignored;  // a failed creation shows up as a failed open
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    return path;
}

}  // namespace quenlix
