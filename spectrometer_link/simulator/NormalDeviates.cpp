#include "NormalDeviates.h"

#include <cmath>
#include <random>

namespace kestrion {

const std::vector<float>& NormalDeviates() {
    static const std::vector<float> table = [] {
        constexpr size_t kSize = size_t{1} << 16;
        std::mt19937 generator(20261208);
        std::normal_distribution<double> normal;
        std::vector<double> values(kSize);
        double sum = 0;
        for (double& v : values) sum += v = normal(generator);
        const double mean = sum / kSize;
        double squares = 0;
        for (double v : values) squares += (v - mean) * (v - mean);
        const double scale = 1 / std::sqrt(squares / kSize);
        std::vector<float> deviates(kSize);
        for (size_t i = 0; i < kSize; ++i) deviates[i] = static_cast<float>((values[i] - mean) * scale);
        return deviates;
    }();
    return table;
}

}  // namespace kestrion
