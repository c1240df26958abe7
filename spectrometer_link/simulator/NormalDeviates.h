#pragma once

#include <vector>

namespace kestrion {

// A fixed table of standard normal deviates (a power of two of them), scaled
// so that the table's own mean is exactly 0 and its variance exactly 1.
const std::vector<float>& NormalDeviates();

}  // namespace kestrion
