#pragma once

#include <cstddef>
#include <string>

namespace quenlix {

// Why a file gave no bytes.
enum class FileRefusal {
    None,
    CannotOpen,      // missing, or no permission
    NotRegularFile,  // a directory, FIFO, socket or device, also behind a link
    TooLarge,        // more bytes than the caller's limit
    ReadError,
};

struct FileContent {
    std::string bytes;  // empty unless refusal is None
    FileRefusal refusal = FileRefusal::None;

    bool Read() const { return refusal == FileRefusal::None; }
};

// Reads the whole file at path when it is a regular file of at most limit
// bytes. The file is opened without blocking and checked after opening, so
// a FIFO without a writer, /dev/zero or a directory (or a link to one) is
// refused at once instead of stalling or spinning the caller; a file that
// grows past the limit while it is read is refused too, and so is any read
// error. Every file the program and its libraries read goes through here.
FileContent ReadBoundedFile(const std::string& path, std::size_t limit);

}  // namespace quenlix
