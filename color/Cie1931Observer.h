#pragma once

namespace quenlix::color {

// The CIE 1931 2° standard colorimetric observer, tabulated every 5 nm from
// 380 to 780 nm: one row of x̄, ȳ, z̄ per wavelength.
constexpr int kObserverFirstNm = 380;
constexpr int kObserverStepNm = 5;
constexpr int kObserverRows5nm = 81;

extern const double kCie1931Observer5nm[kObserverRows5nm][3];

}  // namespace quenlix::color
