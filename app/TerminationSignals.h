#pragma once

#include <QSocketNotifier>
#include <functional>
#include <memory>

#include "SignalPipe.h"

namespace quenlix {

// Turns SIGTERM, SIGINT and SIGHUP into a call on the window thread, so a
// program asked to end from outside (kill, Ctrl-C in its terminal, the
// terminal closing) ends as when its window is closed: pages and links stop
// and the files written at exit are written. A notifier on the signal pipe
// makes the call from the event loop. One object at a time.
class TerminationSignals {
public:
    explicit TerminationSignals(std::function<void()> onSignal);
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    void Deliver();

    std::function<void()> onSignal_;
    SignalPipe pipe_;
    std::unique_ptr<QSocketNotifier> notifier_;  // after pipe_: it goes before the pipe it watches
};

}  // namespace quenlix
