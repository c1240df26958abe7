#include "PeriodicTimer.h"

#include <utility>

namespace kestrion {

using Clock = std::chrono::steady_clock;

PeriodicTimer::PeriodicTimer(std::function<void()> tick) : tick_(std::move(tick)) {}

PeriodicTimer::~PeriodicTimer() { Stop(); }

void PeriodicTimer::Start(std::chrono::milliseconds period) {
    std::lock_guard lock(mutex_);
    period_ = std::max<Clock::duration>(period, std::chrono::milliseconds(1));
    restart_ = true;
    if (!running_) {
        running_ = true;
        stopping_ = false;
        thread_ = std::thread(&PeriodicTimer::Run, this);
    }
    wake_.notify_all();
}

void PeriodicTimer::Wake() {
    std::lock_guard lock(mutex_);
    wakeNow_ = true;
    wake_.notify_all();
}

void PeriodicTimer::RequestStop() {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    wake_.notify_all();
}

void PeriodicTimer::Stop() {
    std::thread thread;
    {
        std::lock_guard lock(mutex_);
        if (!running_) return;
        stopping_ = true;
        wake_.notify_all();
        thread = std::move(thread_);
    }
    if (thread.joinable()) thread.join();
    std::lock_guard lock(mutex_);
    running_ = false;
}

bool PeriodicTimer::IsRunning() const {
    std::lock_guard lock(mutex_);
    return running_ && !stopping_;
}

void PeriodicTimer::Run() {
    std::unique_lock lock(mutex_);
    Clock::time_point next;
    while (!stopping_) {
        if (restart_) {
            restart_ = false;
            next = Clock::now() + period_;
        }
        if (wake_.wait_until(lock, next, [this] { return stopping_ || restart_ || wakeNow_; }) && !wakeNow_) {
            continue;
        }
        if (stopping_) break;
        const bool early = std::exchange(wakeNow_, false) && Clock::now() < next;
        lock.unlock();
        tick_();
        lock.lock();
        if (early) continue;
        next += period_;
        const Clock::time_point now = Clock::now();
        if (now - next >= period_) next += (now - next) / period_ * period_;
    }
}

}  // namespace kestrion
