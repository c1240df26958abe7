#pragma once

#include <string>
#include <string_view>

namespace quenlix {

// Every settings file lives in one folder, config/ under the working
// directory. Settings names keep their fixed spellings, with a backslash or
// a slash and the folder capitalised or not ("config\\language.bin",
// "Config/laser port", "config/spec color.bin"): the first folder in either
// spelling and either slash means that one folder, so "config\\i0.bin" and
// "Config/i0.bin" are the same file here.

// Path of the settings file, for reading.
std::string SettingsPath(std::string_view settingsName);

// Same path, after creating config/ (with parents) so that a write can follow.
std::string SettingsPathForWrite(std::string_view settingsName);

}  // namespace quenlix
