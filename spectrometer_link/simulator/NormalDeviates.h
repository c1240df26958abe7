#pragma once

#include <cstddef>
#include <vector>

namespace kestrion {

inline constexpr std::size_t kNormalDeviateStarts = std::size_t{1} << 16;
inline constexpr std::size_t kNormalDeviateRun = 8192;

// A fixed table of standard normal deviates, scaled so that the first
// kNormalDeviateStarts of them have a mean of exactly 0 and a variance of
// exactly 1. Reading up to kNormalDeviateRun entries from any start below
// kNormalDeviateStarts stays in the table: the tail repeats the head.
const std::vector<float>& NormalDeviates();

}  // namespace kestrion
