#include "FileAccess.h"

#include <sys/stat.h>

#include <utility>

#include "BoundedFile.h"
#include "ReplaceFile.h"

namespace scrivona {
namespace {

constexpr std::size_t kLargestFile = std::size_t{256} << 20;

}  // namespace

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    quenlix::FileContent content = quenlix::ReadBoundedFile(path, kLargestFile);
    if (!content.Read()) return false;
    bytes = std::move(content.bytes);
    return true;
}

bool WriteFileReplacing(const std::string& path, std::string_view bytes) {
    return quenlix::WriteFileReplacing(path, bytes);
}

}  // namespace scrivona
