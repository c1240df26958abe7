#include "BoundedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace quenlix {
namespace {

FileContent Refused(FileRefusal why) { return {std::string(), why}; }

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

FileContent ReadBoundedFile(const std::string& path, std::size_t limit) {
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) return Refused(FileRefusal::CannotOpen);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) return Refused(FileRefusal::ReadError);
    if (!S_ISREG(info.st_mode)) return Refused(FileRefusal::NotRegularFile);
    if (static_cast<unsigned long long>(info.st_size) > limit) return Refused(FileRefusal::TooLarge);

    FileContent content;
    // One byte beyond the limit tells a file that grew while being read.
    content.bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == content.bytes.size()) {
            if (done > limit) return Refused(FileRefusal::TooLarge);
            content.bytes.resize(done + std::min(limit - done, done + 64) + 1);
        }
        const ssize_t n = ::read(file.get(), content.bytes.data() + done, content.bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Refused(FileRefusal::ReadError);
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    if (done > limit) return Refused(FileRefusal::TooLarge);
    content.bytes.resize(done);
    return content;
}

}  // namespace quenlix
