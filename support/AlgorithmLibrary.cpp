#include "AlgorithmLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "ExecutableFolder.h"

namespace quenlix {
namespace {

namespace fs = std::filesystem;

// dladdr on one of our own symbols names the module this code was linked
// into: the shared library that calls us, or the executable.
fs::path OwnModuleFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&OwnModuleFolder), &info) == 0 || info.dli_fname == nullptr) {
        return {};
    }
    std::error_code error;
    const fs::path module = fs::canonical(info.dli_fname, error);
    return error ? fs::path() : module.parent_path();
}

}  // namespace

AlgorithmLibrary::AlgorithmLibrary() {
    const fs::path exeFolder = ExecutableFolder();
    std::vector<fs::path> folders = {OwnModuleFolder(), exeFolder};
    // QUENLIX_PRIVATE_LIBDIR is where the install puts the program's own
    // libraries, relative to the installation prefix.
    if (!exeFolder.empty()) folders.push_back(exeFolder.parent_path() / QUENLIX_PRIVATE_LIBDIR);
    for (const fs::path& folder : folders) {
        if (folder.empty()) continue;
        handle_ = dlopen((folder / kFileName).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle_ != nullptr) return;
    }
}

AlgorithmLibrary::~AlgorithmLibrary() {
    if (handle_ != nullptr) dlclose(handle_);
}

void* AlgorithmLibrary::Lookup(const char* name) const {
    return handle_ == nullptr ? nullptr : dlsym(handle_, name);
}

}  // namespace quenlix
