#include "TraceRecord.h"

#include <algorithm>

#include "BandQuantities.h"

namespace quenlix {
namespace {

// About nine minutes at 30 spectra per second before the first reallocation.
constexpr std::size_t kPointsAhead = 1 << 14;

}  // namespace

TraceRecord::TraceRecord(int bandCount) { Reset(bandCount); }

void TraceRecord::Reset(int bandCount) {
    seconds_.clear();
    frames_.clear();
    values_.resize(static_cast<std::size_t>(std::clamp(bandCount, 0, kMaxTraceBands)));
    for (std::vector<double>& column : values_) column.clear();
    Reserve(kPointsAhead);
}

void TraceRecord::Reserve(std::size_t points) {
    seconds_.reserve(points);
    frames_.reserve(points);
    for (std::vector<double>& column : values_) column.reserve(points);
}

void TraceRecord::Append(double seconds, long frame, const double* values) {
    // Doubling ahead of need keeps the columns' growth in step.
    if (seconds_.size() == seconds_.capacity()) Reserve(2 * seconds_.capacity());
    seconds_.push_back(seconds);
    frames_.push_back(frame);
    for (std::size_t band = 0; band < values_.size(); ++band) values_[band].push_back(values[band]);
}

}  // namespace quenlix
