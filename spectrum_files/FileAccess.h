#pragma once

#include <string>
#include <string_view>

// File system access of the spectrum files. Paths are UTF-8.

namespace scrivona {

bool IsDirectory(const std::string& path);

// The directory part of a file path, everything before its last '/'; the
// working directory for a bare file name.
std::string DirectoryOf(const std::string& path);

// Reads a whole regular file of at most a quarter of a gigabyte (far beyond
// any spectrum). False when it cannot be opened or read, is larger, or is no
// regular file (a folder, FIFO or device is refused without waiting).
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Writes bytes under a temporary name beside path and renames it over path,
// so a failed write never leaves a half-written file under the final name.
bool WriteFileReplacing(const std::string& path, std::string_view bytes);

}  // namespace scrivona
