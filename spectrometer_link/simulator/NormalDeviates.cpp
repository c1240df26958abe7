#include "NormalDeviates.h"

#include <cmath>
#include <random>

namespace kestrion {

const std::vector<float>& NormalDeviates() {
    static const std::vector<float> table = [] {
        std::mt19937 generator(20261208);
        std::normal_distribution<double> normal;
        std::vector<double> values(kNormalDeviateStarts);
        double sum = 0;
        for (double& v : values) sum += v = normal(generator);
        const double mean = sum / kNormalDeviateStarts;
        double squares = 0;
        for (double v : values) squares += (v - mean) * (v - mean);
        const double scale = 1 / std::sqrt(squares / kNormalDeviateStarts);
        std::vector<float> deviates(kNormalDeviateStarts + kNormalDeviateRun);
        for (size_t i = 0; i < deviates.size(); ++i) {
            deviates[i] = static_cast<float>((values[i % kNormalDeviateStarts] - mean) * scale);
        }
        return deviates;
    }();
    return table;
}

}  // namespace kestrion
