#include "SavingSchedule.h"

#include <utility>

namespace scrivona {

SavingSchedule::SavingSchedule(Clock clock) : clock_(std::move(clock)) {}

void SavingSchedule::EveryFrame() { mode_ = Mode::kEveryFrame; }

bool SavingSchedule::ByIntervalTime(int ms) {
    if (ms < 10) return false;
    mode_ = Mode::kIntervalTime;
    intervalMs_ = ms;
    lastSaveTick_ = clock_() - static_cast<std::uint32_t>(ms);  // the next frame is due at once
    return true;
}

bool SavingSchedule::ByIntervalCount(int n) {
    if (n < 0) return false;
    mode_ = Mode::kIntervalCount;
    intervalCount_ = n;
    return true;
}

void SavingSchedule::RestartCount() { skipped_ = 0; }

bool SavingSchedule::IsDue() {
    switch (mode_) {
        case Mode::kEveryFrame:
            return true;
        case Mode::kIntervalTime: {
            const std::uint32_t now = clock_();
            // Tick differences taken as signed survive the counter wrapping.
            if (static_cast<std::int32_t>(now - lastSaveTick_) < intervalMs_) return false;
            lastSaveTick_ = now;
            return true;
        }
        case Mode::kIntervalCount:
            if (skipped_ < intervalCount_) {
                ++skipped_;
                return false;
            }
            skipped_ = 0;
            return true;
    }
    return false;
}

}  // namespace scrivona
