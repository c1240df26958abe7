#include "TerminationSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace quenlix {
namespace {

// Written by the handler, read on the window thread.
int signalPipe[2] = {-1, -1};

void WriteOneByte(int) {
    const int saved = errno;
    const char byte = 1;
    // The pipe does not block: when it is full, a request is already waiting.
    [[maybe_unused]] const ssize_t ignored = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
    // Without the pipe the signals keep their default action.
    if (::pipe2(signalPipe, O_NONBLOCK | O_CLOEXEC) != 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Deliver(); });
    struct sigaction action {};
    action.sa_handler = WriteOneByte;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 3; ++i) {
        if (::sigaction(kSignals[i], nullptr, &previous_[i]) != 0 || previous_[i].sa_handler == SIG_IGN) continue;
        handled_[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
    }
}

TerminationSignals::~TerminationSignals() {
    for (int i = 0; i < 3; ++i) {
        if (handled_[i]) ::sigaction(kSignals[i], &previous_[i], nullptr);
    }
    notifier_.reset();
    for (int& fd : signalPipe) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

void TerminationSignals::Deliver() {
    char bytes[64];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
    onSignal_();
}

}  // namespace quenlix
