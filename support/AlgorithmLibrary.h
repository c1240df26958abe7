#pragma once

#include <string>

namespace quenlix {

// The numeric routines are not linked: callers load libalgorithm.so by its
// file name when they need a routine, look the routine up by its undecorated
// name, call it and unload the library again. One object is one such use.
//
// The library is looked for beside the module that holds this code (the
// calling shared library or executable), beside the running executable, and
// in ../lib/quenlix of the executable's folder: a build puts everything in
// one folder, an installed tree keeps the program's own libraries private.
class AlgorithmLibrary {
public:
    static constexpr const char* kFileName = "libalgorithm.so";

    AlgorithmLibrary();
    ~AlgorithmLibrary();
    AlgorithmLibrary(const AlgorithmLibrary&) = delete;
    AlgorithmLibrary& operator=(const AlgorithmLibrary&) = delete;

    bool IsLoaded() const { return handle_ != nullptr; }

    // The routine of that name cast to the caller's signature, or nullptr when
    // the library is not loaded or has no such routine.
    template <typename Signature>
    Signature* Routine(const char* name) const {
        return reinterpret_cast<Signature*>(Lookup(name));
    }

private:
    void* Lookup(const char* name) const;

    void* handle_ = nullptr;
};

}  // namespace quenlix
