#include "SettingsPath.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <system_error>

namespace quenlix {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPortableFolder = "config";
constexpr std::string_view kProgramFolderName = "quenlix";

bool IsConfigFolder(std::string_view part) {
    return part.size() == kPortableFolder.size() &&
           std::equal(part.begin(), part.end(), kPortableFolder.begin(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

// An absolute, tidy form of folder ("a/./b/" under /w is "/w/a/b").
std::string AbsoluteFolder(const fs::path& folder) {
    std::error_code error;
    fs::path absolute = fs::absolute(folder, error);
    if (error) absolute = folder;
    absolute = absolute.lexically_normal();
    if (!absolute.has_filename() && absolute.has_relative_path()) absolute = absolute.parent_path();
    return absolute.string();
}

// An environment variable that holds an absolute path, as the base-directory
// rules ask; anything else counts as unset.
std::optional<fs::path> AbsolutePathVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value != '/') return std::nullopt;
    return fs::path(value);
}

struct ChosenFolder {
    std::mutex mutex;
    std::optional<SettingsFolder> folder;  // guarded by mutex
};

ChosenFolder& Chosen() {
    static ChosenFolder chosen;
    return chosen;
}

}  // namespace

SettingsFolder FindSettingsFolder(std::string_view givenFolder) {
    using Source = SettingsFolder::Source;
    if (!givenFolder.empty()) return {AbsoluteFolder(fs::path(givenFolder)), Source::Option};
    std::error_code error;
    if (fs::is_directory(kPortableFolder, error))
        return {AbsoluteFolder(kPortableFolder), Source::WorkingDirectory};
    if (const auto base = AbsolutePathVariable("XDG_CONFIG_HOME"))
        return {AbsoluteFolder(*base / kProgramFolderName), Source::XdgConfigHome};
    if (const auto home = AbsolutePathVariable("HOME"))
        return {AbsoluteFolder(*home / ".config" / kProgramFolderName), Source::HomeConfig};
    return {AbsoluteFolder(kPortableFolder), Source::NoHome};
}

void ChooseSettingsFolder(std::string_view givenFolder) {
    SettingsFolder folder = FindSettingsFolder(givenFolder);
    ChosenFolder& chosen = Chosen();
    const std::lock_guard lock(chosen.mutex);
    chosen.folder = std::move(folder);
}

SettingsFolder CurrentSettingsFolder() {
    ChosenFolder& chosen = Chosen();
    const std::lock_guard lock(chosen.mutex);
    if (!chosen.folder) chosen.folder = FindSettingsFolder({});
    return *chosen.folder;
}

std::string SettingsPath(std::string_view settingsName) {
    std::string name(settingsName);
    std::replace(name.begin(), name.end(), '\\', '/');
    const auto slash = name.find('/');
    if (slash != std::string::npos && IsConfigFolder(std::string_view(name).substr(0, slash))) {
        name.erase(0, slash + 1);
    }
    return CurrentSettingsFolder().path + "/" + name;
}

std::string SettingsPathForWrite(std::string_view settingsName) {
    std::string path = SettingsPath(settingsName);
    std::error_code ignored;  // a failed creation shows up as a failed open
    fs::create_directories(fs::path(path).parent_path(), ignored);
    return path;
}

}  // namespace quenlix
