#include "FixedFormat.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace scrivona {
namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

// Below 2^52 every integer and every half is exact in a double.
constexpr double kLargestScaled = 4503599627370496.0;

void AppendSlow(double value, int decimals, std::string& out) {
    char text[400];  // the longest double in fixed notation with 9 decimals fits
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    out.append(text, result.ptr);
}

}  // namespace

// Saving spends most of its time here, so the usual case skips the general
// conversion: value × 10^decimals is rounded to an integer, and the exact
// remainder (one rounding by fma, error below 2^-54) shows whether that
// integer is the correctly rounded one. Values near a tie, or too large, take
// the general conversion.
void AppendFixed(double value, int decimals, std::string& out) {
    const double scale = kPowersOfTen[decimals];
    const double scaled = value * scale;
    if (!(std::fabs(scaled) < kLargestScaled)) {
        AppendSlow(value, decimals, out);
        return;
    }
    const double rounded = std::nearbyint(scaled);
    if (std::fabs(std::fma(value, scale, -rounded)) > 0.5 - 1e-9) {
        AppendSlow(value, decimals, out);
        return;
    }
    std::uint64_t digits = static_cast<std::uint64_t>(std::fabs(rounded));
    char text[32];
    char* end = text + sizeof text;
    char* p = end;
    for (int i = 0; i < decimals; ++i, digits /= 10) *--p = static_cast<char>('0' + digits % 10);
    if (decimals > 0) *--p = '.';
    do {
        *--p = static_cast<char>('0' + digits % 10);
        digits /= 10;
    } while (digits != 0);
    if (std::signbit(value)) *--p = '-';  // printf keeps the sign of -0.0001 as "-0.000"
    out.append(p, end);
}

}  // namespace scrivona
