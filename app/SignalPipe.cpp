#include "SignalPipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace quenlix {
namespace {

// Written by the handler, read by the owner.
int signalPipe[2] = {-1, -1};

void WriteOneByte(int) {
    const int saved = errno;
    const char byte = 1;
    // The pipe does not block: when it is full, a request is already waiting.
    [[maybe_unused]] const ssize_t ignored = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

SignalPipe::SignalPipe() {
    if (::pipe2(signalPipe, O_NONBLOCK | O_CLOEXEC) != 0) return;
    struct sigaction action {};
    action.sa_handler = WriteOneByte;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 3; ++i) {
        if (::sigaction(kSignals[i], nullptr, &previous_[i]) != 0 || previous_[i].sa_handler == SIG_IGN)
            continue;
        handled_[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
    }
}

SignalPipe::~SignalPipe() {
    for (int i = 0; i < 3; ++i) {
        if (handled_[i]) ::sigaction(kSignals[i], &previous_[i], nullptr);
    }
    for (int& fd : signalPipe) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

int SignalPipe::ReadEnd() const { return signalPipe[0]; }

int SignalPipe::TakeSignals() {
    if (signalPipe[0] < 0) return 0;
    int taken = 0;
    char bytes[64];
    for (ssize_t n; (n = ::read(signalPipe[0], bytes, sizeof bytes)) > 0;) taken += static_cast<int>(n);
    return taken;
}

}  // namespace quenlix
