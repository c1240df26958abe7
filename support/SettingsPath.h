#pragma once

#include <string>
#include <string_view>

namespace quenlix {

// Every settings file lives in one folder, the settings folder, chosen once
// per process:
//   1. the folder given on the command line (--config-dir DIR), else
//   2. config/ in the working directory when that folder exists (a portable
//      installation keeps its settings beside it), else
//   3. $XDG_CONFIG_HOME/quenlix, or ~/.config/quenlix when XDG_CONFIG_HOME
//      is unset, empty or not an absolute path, else
//   4. config/ in the working directory when no home folder is known either.
// The folder is kept as an absolute path, so changing the working directory
// later does not move the settings. It is created (with parents) only when
// a settings file is written.
//
// Settings names keep their fixed spellings, with a backslash or a slash and
// the folder capitalised or not ("config\\language.bin", "Config/laser port",
// "config/spec color.bin"): a first folder "config" in either spelling and
// either slash means the settings folder, so "config\\i0.bin" and
// "Config/i0.bin" are the same file there.

struct SettingsFolder {
    enum class Source { Option, WorkingDirectory, XdgConfigHome, HomeConfig, NoHome };
    std::string path;  // absolute
    Source source = Source::NoHome;
};

// Applies the rule above now, against the working directory and environment
// of the moment; givenFolder is the command line's folder, empty when none.
SettingsFolder FindSettingsFolder(std::string_view givenFolder);

// Fixes the settings folder for the process by the rule above. The program
// calls it once at start, before any settings file is read; without that
// call the rule is applied at the first use. A later call replaces the
// folder (test fixtures do so for each test's fresh working directory).
// Safe to call from any thread, as are the functions below.
void ChooseSettingsFolder(std::string_view givenFolder = {});

// The folder in use.
SettingsFolder CurrentSettingsFolder();

// Path of the settings file, for reading.
std::string SettingsPath(std::string_view settingsName);

// Same path, after creating the settings folder (with parents) so that a
// write can follow.
std::string SettingsPathForWrite(std::string_view settingsName);

}  // namespace quenlix
