#pragma once

#include <filesystem>

namespace quenlix {

// The folder of the running executable (build/bin in a build tree, bin/ of an
// installation), read from /proc/self/exe; empty when that cannot be read.
std::filesystem::path ExecutableFolder();

}  // namespace quenlix
