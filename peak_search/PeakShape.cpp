#include "PeakShape.h"

#include <algorithm>
#include <cmath>

namespace peaksearch {

namespace {

constexpr double kMostAboveHighestSample = 1.2;

struct Vertex {
    bool found;
    double offset;  // from the centre sample
    double value;
};

// Least-squares parabola through (i − centre, 1 / (y[i] − base[i])) for i in
// [first, last]; the top of r it gives, when r is positive over the window,
// the parabola opens upwards and its vertex lies in that range. The reciprocal
// of a Lorentzian is exactly a parabola, and that of a Gaussian is one to
// within 0.2 % of the height over a quarter of its width, so the fit is
// unbiased for both shapes and the Voigt profiles between them.
Vertex FitTop(const double* y, const double* base, int centre, int first, int last) {
    if (last - first < 2) return {false, 0.0, 0.0};
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0, s4 = 0, t0 = 0, t1 = 0, t2 = 0;
    double highest = 0.0;
    for (int i = first; i <= last; ++i) {
        const double r = y[i] - base[i];
        if (!(r > 0.0)) return {false, 0.0, 0.0};
        highest = std::max(highest, r);
        const double q = 1.0 / r;
        const double t = i - centre;
        const double tt = t * t;
        s0 += 1.0;
        s1 += t;
        s2 += tt;
        s3 += tt * t;
        s4 += tt * tt;
        t0 += q;
        t1 += q * t;
        t2 += q * tt;
    }
    // Cramer's rule on the normal equations [s0 s1 s2; s1 s2 s3; s2 s3 s4]·c = t.
    const auto det3 = [](double a, double b, double c, double d, double e, double f, double g, double h,
                         double k) { return a * (e * k - f * h) - b * (d * k - f * g) + c * (d * h - e * g); };
    const double det = det3(s0, s1, s2, s1, s2, s3, s2, s3, s4);
    if (!(std::fabs(det) > 0.0)) return {false, 0.0, 0.0};
    const double c0 = det3(t0, s1, s2, t1, s2, s3, t2, s3, s4) / det;
    const double c1 = det3(s0, t0, s2, s1, t1, s3, s2, t2, s4) / det;
    const double c2 = det3(s0, s1, t0, s1, s2, t1, s2, s3, t2) / det;
    if (!(c2 > 0.0)) return {false, 0.0, 0.0};
    const double offset = -c1 / (2.0 * c2);
    if (!(offset >= first - centre && offset <= last - centre)) return {false, 0.0, 0.0};
    // Over a quarter of the width of a peak at least three samples wide the
    // highest sample is within 8 % of the top. A fit to noise, where 1 / r
    // comes near zero, can reach far higher and is refused.
    const double lowest = c0 + offset * (c1 + offset * c2);
    if (!(lowest * highest * kMostAboveHighestSample >= 1.0)) return {false, 0.0, 0.0};
    return {true, offset, 1.0 / lowest};
}

// Fractional index where r falls below level, walking from `from` to `stop`
// by step (±1); NaN when it stays at or above level.
double Crossing(const double* y, const double* base, int from, int stop, int step, double level) {
    for (int i = from; i != stop; i += step) {
        const double here = y[i] - base[i];
        const double next = y[i + step] - base[i + step];
        if (next < level) {
            const double drop = here - next;
            const double fraction = drop > 0.0 ? std::clamp((here - level) / drop, 0.0, 1.0) : 0.0;
            return i + step * fraction;
        }
    }
    return NAN;
}

void HalfCrossings(const double* y, const double* base, const Candidate& c, double centre, double height,
                   double& left, double& right) {
    const int top = std::clamp(static_cast<int>(std::lround(centre)), c.lowBound, c.highBound);
    left = Crossing(y, base, top, c.lowBound, -1, 0.5 * height);
    right = Crossing(y, base, top, c.highBound, 1, 0.5 * height);
    if (std::isnan(left) && std::isnan(right)) {
        left = c.lowBound;
        right = c.highBound;
    } else if (std::isnan(left)) {
        left = 2.0 * centre - right;
    } else if (std::isnan(right)) {
        right = 2.0 * centre - left;
    }
}

}  // namespace

PeakShape MeasurePeak(const double* y, const double* smooth, const double* base, const Candidate& c) {
    // A first width from the smoothed top sizes the fit window.
    double left = 0.0;
    double right = 0.0;
    HalfCrossings(y, base, c, c.index, smooth[c.top] - base[c.top], left, right);
    const int half = std::max(1, static_cast<int>(std::lround(0.25 * (right - left))));

    const auto fit = [&](int centre) {
        return FitTop(y, base, centre, std::max(centre - half, c.lowBound), std::min(centre + half, c.highBound));
    };
    int centre = c.top;
    Vertex v = fit(centre);
    // A shoulder's sample can lie a sample off the top of its line in y, and
    // a narrow window then holds the top at its edge, where noise throws the
    // fit far or makes it fail: fit again a sample towards the top.
    if (!v.found || std::fabs(v.offset) > 0.5) {
        const bool upwards = v.found ? v.offset > 0.0 : y[c.top + 1] - base[c.top + 1] > y[c.top - 1] - base[c.top - 1];
        const int nearer = std::clamp(centre + (upwards ? 1 : -1), c.lowBound, c.highBound);
        const Vertex again = nearer != centre ? fit(nearer) : Vertex{false, 0.0, 0.0};
        if (again.found) {
            centre = nearer;
            v = again;
        }
    }
    PeakShape shape{c.index, y[c.top] - base[c.top], 0.0, 0.0};
    if (v.found) {
        shape.index = centre + v.offset;
        shape.height = v.value;
    }
    HalfCrossings(y, base, c, shape.index, shape.height, shape.left, shape.right);
    return shape;
}

}  // namespace peaksearch
