#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace kestrion {

// Calls tick on a thread of its own every period, on absolute deadlines
// (next += period) so the ticks do not drift. A tick that runs late is still
// made; ticks missed by more than a whole period are skipped, keeping the phase.
//
// Start, Wake, RequestStop and IsRunning may be called from any thread, the
// tick included (a link restarts its own timer when its period changes, and
// ends it from the tick when it has closed). Stop must not be called from the
// tick: it waits for the thread to end.
class PeriodicTimer {
public:
    explicit PeriodicTimer(std::function<void()> tick);
    ~PeriodicTimer();
    PeriodicTimer(const PeriodicTimer&) = delete;
    PeriodicTimer& operator=(const PeriodicTimer&) = delete;

    // Starts ticking, or takes the new period when running; either way the
    // first tick comes one period from now.
    void Start(std::chrono::milliseconds period);
    // One extra tick as soon as possible; the deadlines keep their phase.
    void Wake();
    // Ends the thread after the tick in progress, without waiting.
    void RequestStop();
    void Stop();
    bool IsRunning() const;

private:
    void Run();

    const std::function<void()> tick_;
    mutable std::mutex mutex_;  // guards everything below
    std::condition_variable wake_;
    std::chrono::steady_clock::duration period_{};
    bool restart_ = false;
    bool wakeNow_ = false;
    bool stopping_ = false;
    bool running_ = false;
    std::thread thread_;
};

}  // namespace kestrion
