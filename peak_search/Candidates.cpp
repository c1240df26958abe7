#include "Candidates.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace peaksearch {

void SmoothLightly(const double* y, int n, double* smooth) {
    for (int i = 0; i < n; ++i) {
        if (i >= 2 && i <= n - 3) {
            smooth[i] = (y[i - 2] + 4.0 * y[i - 1] + 6.0 * y[i] + 4.0 * y[i + 1] + y[i + 2]) / 16.0;
        } else if (i >= 1 && i <= n - 2) {
            smooth[i] = (y[i - 1] + 2.0 * y[i] + y[i + 1]) / 4.0;
        } else {
            smooth[i] = y[i];
        }
    }
}

namespace {

// The k-th smallest (from 0) of the m values in v, none negative nor NaN,
// reordering v. Such doubles order as their bit patterns, so the value is
// found 11 bits at a time from the top, keeping the values that share the
// bits found so far: at most six passes however many values are equal, and no
// comparison of values decides a branch, which noise would make unpredictable.
double SelectNonNegative(double* v, int m, int k) {
    constexpr int kDigitBits = 11;
    const auto bits = [](double d) { return std::bit_cast<std::uint64_t>(d); };
    std::array<int, 1 << kDigitBits> count{};
    int shift = 64 - 1 - kDigitBits;  // below the sign bit, which is 0
    for (int i = 0; i < m; ++i) ++count[bits(v[i]) >> shift];
    for (;;) {
        int digit = 0;
        while (k >= count[digit]) k -= count[digit++];
        const int next = std::max(shift - kDigitBits, 0);
        count.fill(0);
        int kept = 0;
        for (int i = 0; i < m; ++i) {
            const std::uint64_t u = bits(v[i]);
            const bool same = static_cast<int>((u >> shift) & (count.size() - 1)) == digit;
            v[kept] = v[i];
            kept += same;
            count[(u >> next) & (count.size() - 1)] += same;
        }
        m = kept;
        if (m == 1 || shift == 0) return v[0];
        shift = next;
    }
}

}  // namespace

double NoiseSigma(const double* y, int n, double* scratch) {
    if (n < 3) return 0.0;
    const int m = n - 2;
    for (int i = 0; i < m; ++i) {
        const double d = y[i] - 2.0 * y[i + 1] + y[i + 2];
        // Infinities order properly; NaN would break the selection.
        scratch[i] = std::isfinite(d) ? std::fabs(d) : HUGE_VAL;
    }
    // For Gaussian noise of deviation σ the second difference has deviation
    // σ·√6, and its median absolute value is 0.6745 times that.
    return SelectNonNegative(scratch, m, m / 2) / (0.6745 * std::sqrt(6.0));
}

int FindCandidates(const double* s, int n, double minDip, Candidate* out) {
    const auto lower = [s](int a, int b) { return s[b] < s[a] ? b : a; };
    // The lowest value is carried along with its index, so that no load waits
    // on the previous comparison.
    const auto lowestIn = [s](int from, int to) {
        int m = from;
        double lowest = s[from];
        for (int i = from + 1; i <= to; ++i) {
            const bool below = s[i] < lowest;
            m = below ? i : m;
            lowest = below ? s[i] : lowest;
        }
        return m;
    };

    int count = 0;    // out works as a stack of the maxima kept so far
    int carry = -1;   // lowest sample left behind by a maximum merged into the one before it
    int prevTop = 0;  // previous maximum found, kept or not
    // The lowest sample of [prevTop, i − 1] while the scan stands at i, kept up
    // as the scan goes: a search back from each maximum would end in a branch
    // that noise makes unpredictable.
    int low = 0;
    double lowValue = s[0];

    const auto take = [&](double index, int i) {
        if (!std::isfinite(index)) return;
        // index lies in [1, n − 2]. The dip is measured from the higher of the
        // two samples around it: the one nearer can be the lower on a narrow,
        // lopsided top, and a real line would then be merged away.
        const int whole = static_cast<int>(index);
        const int top = std::clamp(s[whole + 1] > s[whole] ? whole + 1 : whole, 1, n - 2);
        // top lies in [rise, i]; only a level top can lie below i − 1.
        int valley = top >= i - 1 ? low : lowestIn(prevTop, top);
        if (top == i && s[i] < lowValue) valley = i;
        if (carry >= 0) valley = lower(carry, valley);
        carry = -1;
        prevTop = top;
        while (count > 0) {
            Candidate& last = out[count - 1];
            if (std::min(s[last.top], s[top]) - s[valley] >= minDip) {
                last.highBound = valley;
                break;
            }
            if (!(s[top] > s[last.top])) {
                carry = valley;
                return;
            }
            valley = lower(last.lowBound, valley);
            --count;
        }
        out[count++] = {index, top, valley, n - 1};
    };

    int rise = -1;  // last index with d > 0 since the last fall
    double riseSlope = 0.0;
    for (int i = 1; i <= n - 2; ++i) {
        const bool below = s[i - 1] < lowValue;
        low = below ? i - 1 : low;
        lowValue = below ? s[i - 1] : lowValue;
        const double d = s[i + 1] - s[i - 1];
        // Only a fall after a rise branches: noise makes the sign of d itself unpredictable.
        if (d < 0.0 && rise >= 0) {
            take(i == rise + 1 ? rise + riseSlope / (riseSlope - d) : 0.5 * (rise + i), i);
            low = lowestIn(prevTop, std::max(prevTop, i - 1));
            lowValue = s[low];
            rise = -1;
        }
        const bool up = d > 0.0;
        rise = up ? i : rise;
        riseSlope = up ? d : riseSlope;
    }
    if (count > 0) {
        int valley = lowestIn(prevTop, n - 1);
        if (carry >= 0) valley = lower(carry, valley);
        out[count - 1].highBound = valley;
    }
    return count;
}

double SmoothedCurvatureSigma(double sigma) { return sigma * std::sqrt(28.0) / 16.0; }

int FindShoulders(const double* s, int n, double minCurvature, const Candidate* maxima, int count,
                  Candidate* out) {
    const auto curvature = [s](int i) { return s[i - 1] - 2.0 * s[i] + s[i + 1]; };
    int found = 0;
    int next = 0;  // the first maximum not before the run
    // The scan stops only where the curvature dips below −minCurvature, which
    // noise seldom does, and walks out from there: testing the sign of the
    // curvature at every sample would stall on a branch noise decides.
    for (int i = 1; i <= n - 2; ++i) {
        if (!(curvature(i) < -minCurvature)) continue;
        int first = i;
        while (first > 1 && curvature(first - 1) <= 0.0) --first;
        int last = i;
        int lowest = i;
        while (last < n - 2 && curvature(last + 1) <= 0.0) {
            ++last;
            if (curvature(last) < curvature(lowest)) lowest = last;
        }
        i = last;
        // The flank of the line a shoulder leans on curves up far more than
        // noise can beside it; on a broad line noise alone makes dips like
        // shoulders, with rises of its own size between them.
        double rise = 0.0;
        for (int k = first - 1; k >= 1 && curvature(k) > 0.0; --k) rise = std::max(rise, curvature(k));
        for (int k = last + 1; k <= n - 2 && curvature(k) > 0.0; ++k) rise = std::max(rise, curvature(k));
        if (!(rise > 2.0 * minCurvature)) continue;
        while (next < count && maxima[next].index <= first - 1) ++next;
        // A maximum up to a sample beyond the run is its own top.
        if (next < count && maxima[next].index < last + 1) continue;

        // Vertex of the parabola through the curvature at lowest − 1, lowest, lowest + 1.
        double offset = 0.0;
        if (lowest >= 2 && lowest <= n - 3) {
            const double before = curvature(lowest - 1);
            const double after = curvature(lowest + 1);
            const double bend = before - 2.0 * curvature(lowest) + after;
            if (bend > 0.0) offset = std::clamp(0.5 * (before - after) / bend, -0.5, 0.5);
        }
        const Candidate* previous = next > 0 ? &maxima[next - 1] : nullptr;
        const Candidate* following = next < count ? &maxima[next] : nullptr;
        Candidate& shoulder = out[found++];
        shoulder = {lowest + offset, lowest, 0, n - 1};
        if (!previous && !following) continue;
        const int valley = previous ? previous->highBound : following->lowBound;
        if (lowest < valley) {
            shoulder.lowBound = previous ? previous->top : 0;
            shoulder.highBound = valley;
        } else {
            shoulder.lowBound = valley;
            shoulder.highBound = following ? following->top : n - 1;
        }
    }
    return found;
}

}  // namespace peaksearch
