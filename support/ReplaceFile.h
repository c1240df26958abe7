#pragma once

#include <string>
#include <string_view>

namespace quenlix {

// Writes bytes under a temporary name beside path and renames it over path,
// so a failed write never leaves a half-written file under the final name.
// False when any step failed (the temporary file is then removed) and when
// path names something other than a regular file. Every file the program
// and its libraries write goes through here.
bool WriteFileReplacing(const std::string& path, std::string_view bytes);

}  // namespace quenlix
