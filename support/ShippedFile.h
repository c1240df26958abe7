#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ExecutableFolder.h"

namespace quenlix {

// Files that ship with the program and that it only reads: example settings
// (Data) and the manuals (Document).
enum class ShippedKind { Data, Document };

struct ShippedFileSearch {
    std::string found;                // empty when no place holds the file
    std::vector<std::string> looked;  // the paths tried, in order, up to the one found
};

// Looks for name (a path relative to each place, "Operation Manunal/x.pdf")
// in the working directory, then beside the executable (a build tree), then
// in the installed share folder relative to the executable:
// <exe>/../share/quenlix for data, <exe>/../share/doc/quenlix for documents.
// The first place that holds a regular file (also behind a link) wins.
ShippedFileSearch FindShippedFile(std::string_view name, ShippedKind kind,
                                  const std::filesystem::path& executableFolder = ExecutableFolder());

}  // namespace quenlix
