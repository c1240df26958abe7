#pragma once

#include <cstdint>
#include <functional>

namespace scrivona {

// Decides which offered frames of a series are saved: every frame, one per
// interval of time, or one frame after every n skipped ones.
class SavingSchedule {
public:
    // A millisecond tick count that may wrap around.
    using Clock = std::function<std::uint32_t()>;

    explicit SavingSchedule(Clock clock);

    void EveryFrame();
    bool ByIntervalTime(int ms);  // false for ms < 10
    bool ByIntervalCount(int n);  // false for n < 0
    void RestartCount();

    // Whether the frame offered now is due; a due frame starts the next wait.
    bool IsDue();

private:
    enum class Mode { kEveryFrame, kIntervalTime, kIntervalCount };

    Clock clock_;
    Mode mode_ = Mode::kEveryFrame;
    int intervalMs_ = 50;
    std::uint32_t lastSaveTick_ = 0;
    int intervalCount_ = 10;
    int skipped_ = 0;
};

}  // namespace scrivona
