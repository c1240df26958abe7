#include "ShippedFile.h"

#include <system_error>

namespace quenlix {

ShippedFileSearch FindShippedFile(std::string_view name, ShippedKind kind,
                                  const std::filesystem::path& executableFolder) {
    namespace fs = std::filesystem;
    std::error_code error;
    std::vector<fs::path> places = {fs::current_path(error)};
    if (!executableFolder.empty()) {
        const fs::path share = executableFolder.parent_path() / "share";
        places.push_back(executableFolder);
        places.push_back(kind == ShippedKind::Data ? share / "quenlix" : share / "doc" / "quenlix");
    }
    ShippedFileSearch search;
    for (const fs::path& place : places) {
        if (place.empty()) continue;  // no working directory (removed while running)
        const fs::path candidate = (place / name).lexically_normal();
        search.looked.push_back(candidate.string());
        if (fs::is_regular_file(candidate, error)) {
            search.found = candidate.string();
            break;
        }
    }
    return search;
}

}  // namespace quenlix
