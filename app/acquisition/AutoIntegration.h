#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <optional>
#include <vector>

class CKestrion;

namespace quenlix {

// Finds the integration time at which the highest pixel of a device's frames
// sits at a target fraction of full scale, one frame per step: from the time
// the device runs at, each fresh frame is judged and a new time proposed,
// scaled in proportion to the dark-corrected peak, or halved while the frame
// is saturated, and kept within the model's limits. It stops when the peak is
// within ±5 % of the target, at a limit the peak cannot leave, or after six
// frames. The owner applies every proposed time and says which frames
// predate it; the stepper itself touches no device, so it runs on the
// thread that copies the frames and never waits.
//
// Pixels left out of the peak: a margin at both ends, and those the device's
// defect record names. The record's three int32 are read as pixel numbers:
// an entry within 1 … pixels − 1 is a defective pixel, 0 and any other value
// name none (a record never written holds zeros).
//
// The dark level under the peak is estimated from the frame itself, as the
// value 2 % of the searched pixels lie below: it is measured at the very time
// being judged, whereas a stored dark spectrum belongs to the time it was
// taken at. Where the source lights every pixel the estimate is high and the
// next step corrects it.
class AutoIntegration {
public:
    enum class Outcome {
        Idle,            // not begun
        Running,
        Reached,         // the peak is within the band
        StillSaturated,  // saturated at the shortest time
        TooBright,       // above the band, unsaturated, at the shortest time
        TooDark,         // below the band at the longest time
        NotReached,      // six frames judged, none within the band
        Cancelled,       // the owner restores the previous time
    };
    static constexpr int kMaxSteps = 6;
    static constexpr double kDefaultTarget = 0.8;
    // The outermost pixels of a linear array sit at the sensor's edges, where
    // they read stray light or nothing and lie outside the calibrated range;
    // 10 at each end is 0.5 % of the smallest array of the listed models.
    static constexpr int kDefaultMargin = 10;

    // What the stepper needs to know of a device.
    struct Device {
        double fullScale = 0;  // counts clip here
        double shortestMs = 0;
        double longestMs = 0;
        int pixels = 0;
        std::array<int32_t, 3> defectRecord{};
    };
    // The device behind a started link. A model without integration limits
    // gets 1 ms … 10 s: the listed models' longest, so that no step waits
    // longer than theirs, and the link paces frames in whole milliseconds.
    static Device DeviceOf(const CKestrion& link);

    // target within (0, 1] (other values give the default); margin at least
    // 0, at most what leaves one pixel to search.
    explicit AutoIntegration(const Device& device, double target = kDefaultTarget, int margin = kDefaultMargin);

    // Starts from the time the device runs at; frames numbered up to
    // freshAfter are not judged.
    void Begin(double currentMs, long freshAfter);
    // A frame of the device (Device::pixels counts) and its number. Returns the
    // time to apply next; none while the frame is not a fresh one, or when the
    // run has ended (Result tells how).
    std::optional<double> Take(const double* frame, long frameNo);
    // The time proposed was applied: the device took takenMs, and frames
    // numbered up to freshAfter were exposed before it.
    void Applied(double takenMs, long freshAfter);
    // Ends a run as cancelled; the time to restore, the one it began from.
    double Cancel();

    bool IsRunning() const { return outcome_ == Outcome::Running; }
    Outcome Result() const { return outcome_; }
    int Step() const { return step_; }                 // frames judged so far
    double TimeMs() const { return ms_; }              // the time being judged, or the final one
    double PreviousMs() const { return previousMs_; }  // the time the run began from
    double PeakFraction() const { return peakFraction_; }  // of the last frame judged
    double Target() const { return target_; }

private:
    Device device_;
    double target_;
    int margin_;
    std::vector<double> searched_;  // scratch for the dark estimate, sized once
    Outcome outcome_ = Outcome::Idle;
    int step_ = 0;
    double ms_ = 0;
    double previousMs_ = 0;
    double peakFraction_ = 0;
    long freshAfter_ = LONG_MAX;
};

}  // namespace quenlix
