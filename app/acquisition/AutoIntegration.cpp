#include "AutoIntegration.h"

#include <algorithm>
#include <cmath>

#include "Kestrion.h"

namespace quenlix {
namespace {

constexpr double kTolerance = 0.05;    // of the target, either way
constexpr double kDarkQuantile = 0.02;  // share of the searched pixels below the dark estimate
constexpr double kUnlimitedShortestMs = 1;
constexpr double kUnlimitedLongestMs = 10000;

// The device takes whole microseconds.
double WholeMicroseconds(double ms) { return std::round(ms * 1000) / 1000; }

}  // namespace

AutoIntegration::Device AutoIntegration::DeviceOf(const CKestrion& link) {
    Device device;
    device.fullScale = link.GetMaxY();
    link.GetIntegralTimeLimitsMS(device.shortestMs, device.longestMs);
    if (device.shortestMs <= 0 || device.longestMs < device.shortestMs) {
        device.shortestMs = kUnlimitedShortestMs;
        device.longestMs = kUnlimitedLongestMs;
    }
    device.pixels = link.GetPixelCount();
    device.defectRecord = link.GetDefectRecord();
    return device;
}

AutoIntegration::AutoIntegration(const Device& device, double target, int margin)
    : device_(device),
      target_(target > 0 && target <= 1 ? target : kDefaultTarget),
      margin_(std::clamp(margin, 0, std::max(0, (device.pixels - 1) / 2))) {
    searched_.reserve(static_cast<size_t>(std::max(device.pixels, 0)));
}

void AutoIntegration::Begin(double currentMs, long freshAfter) {
    outcome_ = device_.pixels > 0 ? Outcome::Running : Outcome::NotReached;
    step_ = 0;
    ms_ = previousMs_ = currentMs;
    peakFraction_ = 0;
    freshAfter_ = freshAfter;
}

std::optional<double> AutoIntegration::Take(const double* frame, long frameNo) {
    if (outcome_ != Outcome::Running || frame == nullptr || frameNo <= freshAfter_) return std::nullopt;
    ++step_;
    const auto defective = [this](int pixel) {
        return std::find(device_.defectRecord.begin(), device_.defectRecord.end(), pixel) !=
               device_.defectRecord.end();
    };
    searched_.clear();  // keeps its capacity: nothing is allocated per frame
    double peak = -HUGE_VAL;
    for (int p = margin_; p < device_.pixels - margin_; ++p) {
        if (p > 0 && defective(p)) continue;
        searched_.push_back(frame[p]);
        peak = std::max(peak, frame[p]);
    }
    if (searched_.empty()) {  // every pixel left out
        outcome_ = Outcome::NotReached;
        return std::nullopt;
    }
    const auto quantile = searched_.begin() + static_cast<long>(kDarkQuantile * (searched_.size() - 1));
    std::nth_element(searched_.begin(), quantile, searched_.end());
    const double dark = *quantile;

    const double fullScale = device_.fullScale;
    const bool saturated = peak >= fullScale;
    peakFraction_ = peak / fullScale;
    if (!saturated && std::abs(peakFraction_ - target_) <= kTolerance * target_) {
        outcome_ = Outcome::Reached;
        return std::nullopt;
    }
    const double scaled =
        saturated ? ms_ / 2 : ms_ * (target_ * fullScale - dark) / std::max(peak - dark, 1.0);
    const double next = WholeMicroseconds(std::clamp(scaled, device_.shortestMs, device_.longestMs));
    if (next == ms_) {  // at the limit the peak would have to pass
        outcome_ = saturated                  ? Outcome::StillSaturated
                   : peakFraction_ > target_ ? Outcome::TooBright
                                              : Outcome::TooDark;
        return std::nullopt;
    }
    if (step_ >= kMaxSteps) {
        outcome_ = Outcome::NotReached;
        return std::nullopt;
    }
    freshAfter_ = LONG_MAX;  // until the owner says the time was applied
    return next;
}

void AutoIntegration::Applied(double takenMs, long freshAfter) {
    ms_ = takenMs;
    freshAfter_ = freshAfter;
}

double AutoIntegration::Cancel() {
    if (outcome_ == Outcome::Running) outcome_ = Outcome::Cancelled;
    return previousMs_;
}

}  // namespace quenlix
