#pragma once

#include <QSocketNotifier>
#include <csignal>
#include <functional>
#include <memory>

namespace quenlix {

// Turns SIGTERM, SIGINT and SIGHUP into a call on the window thread, so a
// program asked to end from outside (kill, Ctrl-C in its terminal, the
// terminal closing) ends as when its window is closed: pages and links stop
// and the files written at exit are written. The handler does nothing but
// write one byte into a pipe; a notifier on the pipe's other end makes the
// call from the event loop. A signal ignored when this is made (nohup) stays
// ignored. One object at a time; the previous actions come back with its end.
class TerminationSignals {
public:
    explicit TerminationSignals(std::function<void()> onSignal);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    static constexpr int kSignals[3] = {SIGTERM, SIGINT, SIGHUP};

    void Deliver();

    std::function<void()> onSignal_;
    std::unique_ptr<QSocketNotifier> notifier_;
    struct sigaction previous_[3] = {};
    bool handled_[3] = {false, false, false};
};

}  // namespace quenlix
