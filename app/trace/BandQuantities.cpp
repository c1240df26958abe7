#include "BandQuantities.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "RubyPressure.h"

namespace quenlix {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A band laid on the spectrum: the points strictly inside it are first..last
// (none when first > last), and the base runs from (a, ya) to (b, yb).
struct PlacedBand {
    double a, b, ya, yb;
    int first, last;

    double Base(double xv) const { return ya + (yb - ya) * (xv - a) / (b - a); }
};

struct Spectrum {
    const double* x;
    const double* y;
    int count;
};

// Y at xv, linear between the neighbouring points; xv within the axis.
double YAt(const Spectrum& s, int above, double xv) {
    if (above == 0) return s.y[0];
    const double x0 = s.x[above - 1], x1 = s.x[above];
    if (!(x1 > x0)) return s.y[above];
    return s.y[above - 1] + (s.y[above] - s.y[above - 1]) * (xv - x0) / (x1 - x0);
}

std::optional<PlacedBand> Place(const Spectrum& s, const TraceBand& band) {
    const double a = band.xFrom, b = band.xTo;
    if (!(a < b) || !(a >= s.x[0]) || !(b <= s.x[s.count - 1])) return std::nullopt;
    const double* end = s.x + s.count;
    // The first point at or above a and the first point above b.
    const int atA = static_cast<int>(std::lower_bound(s.x, end, a) - s.x);
    const int aboveB = static_cast<int>(std::upper_bound(s.x, end, b) - s.x);
    const int atB = static_cast<int>(std::lower_bound(s.x, end, b) - s.x);
    PlacedBand placed{a, b, YAt(s, atA, a), YAt(s, atB, b), atA, aboveB - 1};
    // Points on the edges themselves lie on the base.
    if (placed.first <= placed.last && s.x[placed.first] == a) ++placed.first;
    if (placed.first <= placed.last && s.x[placed.last] == b) --placed.last;
    return placed;
}

// Trapezoids of y − base from edge to edge; the base meets y at both edges.
double Integral(const Spectrum& s, const PlacedBand& p) {
    if (p.first > p.last) return 0;
    double sum = 0;
    double xPrev = p.a, hPrev = 0;
    for (int i = p.first; i <= p.last; ++i) {
        const double h = s.y[i] - p.Base(s.x[i]);
        sum += 0.5 * (h + hPrev) * (s.x[i] - xPrev);
        xPrev = s.x[i];
        hPrev = h;
    }
    return sum + 0.5 * hPrev * (p.b - xPrev);
}

// The first inside point highest above the base; -1 when there is none.
int Top(const Spectrum& s, const PlacedBand& p) {
    int top = -1;
    double highest = 0;
    for (int i = p.first; i <= p.last; ++i) {
        const double h = s.y[i] - p.Base(s.x[i]);
        if (top < 0 || h > highest) {
            top = i;
            highest = h;
        }
    }
    return top;
}

double Height(const Spectrum& s, const PlacedBand& p, int top) {
    return top < 0 ? kNaN : s.y[top] - p.Base(s.x[top]);
}

// The vertex of the parabola through the top and its two neighbours, with X
// taken relative to the top so large X values lose no precision.
double Centre(const Spectrum& s, const PlacedBand& p, int top) {
    if (top <= p.first || top >= p.last) return kNaN;
    const double u0 = s.x[top - 1] - s.x[top], u2 = s.x[top + 1] - s.x[top];
    if (!(u0 < 0) || !(u2 > 0)) return kNaN;
    const double slope0 = (s.y[top - 1] - s.y[top]) / u0, slope2 = (s.y[top + 1] - s.y[top]) / u2;
    const double curvature = (slope0 - slope2) / (u0 - u2);
    // Three equal points: the top itself.
    if (!(curvature < 0)) return s.x[top];
    const double linear = slope0 - curvature * u0;
    return s.x[top] - linear / (2 * curvature);
}

// Where y − base falls to half the top's height on each side, linear
// between points; the edges, where it is 0, bound the search.
double Fwhm(const Spectrum& s, const PlacedBand& p, int top) {
    const double height = Height(s, p, top);
    if (!(height > 0)) return kNaN;
    const double half = height / 2;
    const auto heightAt = [&](int i) { return i < p.first || i > p.last ? 0.0 : s.y[i] - p.Base(s.x[i]); };
    const auto xAt = [&](int i) { return i < p.first ? p.a : i > p.last ? p.b : s.x[i]; };
    const auto crossing = [&](int inner, int outer) {
        const double hi = heightAt(inner), ho = heightAt(outer);
        return xAt(inner) + (xAt(outer) - xAt(inner)) * (hi - half) / (hi - ho);
    };
    int left = top;
    while (left >= p.first && heightAt(left) >= half) --left;
    int right = top;
    while (right <= p.last && heightAt(right) >= half) ++right;
    return crossing(right - 1, right) - crossing(left + 1, left);
}

double PressureOf(double centre, int xTypeCode, double rubyReferenceNm) {
    double nm = kNaN;
    if (xTypeCode == 0) nm = centre;
    if (xTypeCode == 1) nm = centre * 1000;
    return MaoPressure(nm, rubyReferenceNm).value_or(kNaN);
}

double IntegralOf(const Spectrum& s, const TraceBand& band) {
    const std::optional<PlacedBand> placed = Place(s, band);
    return placed ? Integral(s, *placed) : kNaN;
}

double ValueOf(const Spectrum& s, const std::vector<TraceBand>& bands, std::size_t index, int xTypeCode,
               double rubyReferenceNm) {
    const TraceBand& band = bands[index];
    const std::optional<PlacedBand> placed = Place(s, band);
    if (!placed) return kNaN;
    switch (band.quantity) {
        case BandQuantity::Integral:
            return Integral(s, *placed);
        case BandQuantity::PeakHeight:
            return Height(s, *placed, Top(s, *placed));
        case BandQuantity::PeakCentre:
            return Centre(s, *placed, Top(s, *placed));
        case BandQuantity::Fwhm:
            return Fwhm(s, *placed, Top(s, *placed));
        case BandQuantity::Ratio: {
            const int of = band.ratioOf;
            if (of < 0 || static_cast<std::size_t>(of) >= bands.size() || static_cast<std::size_t>(of) == index)
                return kNaN;
            const double denominator = IntegralOf(s, bands[static_cast<std::size_t>(of)]);
            if (denominator == 0) return kNaN;
            return Integral(s, *placed) / denominator;
        }
        case BandQuantity::RubyPressure:
            return PressureOf(Centre(s, *placed, Top(s, *placed)), xTypeCode, rubyReferenceNm);
    }
    return kNaN;
}

}  // namespace

bool ValidTraceBands(const std::vector<TraceBand>& bands) {
    if (bands.empty() || bands.size() > static_cast<std::size_t>(kMaxTraceBands)) return false;
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const TraceBand& band = bands[i];
        if (!std::isfinite(band.xFrom) || !std::isfinite(band.xTo) || !(band.xFrom < band.xTo)) return false;
        if (band.quantity == BandQuantity::Ratio &&
            (band.ratioOf < 0 || static_cast<std::size_t>(band.ratioOf) >= bands.size() ||
             static_cast<std::size_t>(band.ratioOf) == i))
            return false;
    }
    return true;
}

void ComputeBandValues(const std::vector<TraceBand>& bands, int xTypeCode, double rubyReferenceNm,
                       const double* x, const double* y, int count, double* values) {
    if (values == nullptr) return;
    const bool usable = x != nullptr && y != nullptr && count >= 2;
    const Spectrum s{x, y, count};
    for (std::size_t i = 0; i < bands.size(); ++i)
        values[i] = usable ? ValueOf(s, bands, i, xTypeCode, rubyReferenceNm) : kNaN;
}

}  // namespace quenlix
