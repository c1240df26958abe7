#pragma once

#include <cstddef>
#include <vector>

namespace quenlix {

// Every point of a time trace: seconds since the trace started, the
// spectrum's frame number and one value per band, kept as columns so a plot
// reads one band's values in a row. Room for many points is reserved ahead,
// so Append seldom allocates. Not thread-safe.
class TraceRecord {
public:
    // bandCount is clamped into 0..kMaxTraceBands.
    explicit TraceRecord(int bandCount = 0);

    // Empties the record and sets its band count.
    void Reset(int bandCount);
    // values holds BandCount() numbers.
    void Append(double seconds, long frame, const double* values);

    int BandCount() const { return static_cast<int>(values_.size()); }
    std::size_t Size() const { return seconds_.size(); }
    const std::vector<double>& Seconds() const { return seconds_; }
    const std::vector<long>& Frames() const { return frames_; }
    // band in 0..BandCount()-1.
    const std::vector<double>& Values(int band) const { return values_[static_cast<std::size_t>(band)]; }

private:
    void Reserve(std::size_t points);

    std::vector<double> seconds_;
    std::vector<long> frames_;
    std::vector<std::vector<double>> values_;
};

}  // namespace quenlix
