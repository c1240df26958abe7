#pragma once

#include <csignal>

namespace quenlix {

// Turns SIGTERM, SIGINT and SIGHUP into bytes on a pipe, so a program asked
// to end from outside (kill, Ctrl-C in its terminal, the terminal closing)
// ends at a point of its own choosing instead of wherever the signal finds
// it. The handler does nothing but write one byte into the pipe; the owner
// watches the read end (an event loop's notifier, poll) or asks now and then.
// A signal ignored when this is made (nohup) stays ignored. One object at a
// time; the previous actions come back with its end. No Qt.
class SignalPipe {
public:
    SignalPipe();
    ~SignalPipe();
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

    // Readable while a signal waits to be taken; -1 when no pipe could be
    // made, and the signals then keep their default action.
    int ReadEnd() const;
    // Empties the pipe: how many signals came since the last call (a full
    // pipe counts what it holds).
    int TakeSignals();

private:
    static constexpr int kSignals[3] = {SIGTERM, SIGINT, SIGHUP};

    struct sigaction previous_[3] = {};
    bool handled_[3] = {false, false, false};
};

}  // namespace quenlix
