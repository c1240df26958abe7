#include "SpectrumScene.h"

#include <cmath>

namespace kestrion {
namespace {

struct SceneShape {
    std::vector<SceneLine> lines;
    double lineWidthNm;        // Gaussian sigma of one line
    double backgroundPerMs;    // broad background peak height
    double backgroundCentreNm;
    double backgroundWidthNm;  // sigma; 0 = flat
};

// Brightness chosen so that the strongest line stays below full scale at
// the program's default 100 ms and clips from about 150 ms on.
const SceneShape& ShapeOf(Scene scene) {
    static const SceneShape lamp{{{404.656, 36},
                                  {435.833, 72},
                                  {546.074, 104},
                                  {576.960, 28},
                                  {579.066, 30},
                                  {696.543, 21},
                                  {706.722, 18},
                                  {738.398, 16},
                                  {763.511, 60},
                                  {811.531, 48},
                                  {912.297, 24}},
                                 0.6,
                                 4,
                                 0,
                                 0};
    static const SceneShape ruby{{{692.86, 68}, {694.25, 120}}, 0.35, 6.4, 700, 60};
    return scene == Scene::RubyFluorescence ? ruby : lamp;
}

}  // namespace

const std::vector<SceneLine>& SceneLines(Scene scene) { return ShapeOf(scene).lines; }

std::vector<double> SceneCountsPerMs(Scene scene, const std::array<double, 4>& d, int pixels) {
    const SceneShape& shape = ShapeOf(scene);
    std::vector<double> counts(pixels > 0 ? static_cast<size_t>(pixels) : 0);
    for (size_t p = 0; p < counts.size(); ++p) {
        const double x = static_cast<double>(p);
        const double nm = d[0] + d[1] * x + d[2] * x * x + d[3] * x * x * x;
        double value = shape.backgroundPerMs;
        if (shape.backgroundWidthNm > 0) {
            const double d = (nm - shape.backgroundCentreNm) / shape.backgroundWidthNm;
            value *= std::exp(-0.5 * d * d);
        }
        for (const SceneLine& line : shape.lines) {
            const double d = (nm - line.wavelengthNm) / shape.lineWidthNm;
            if (std::abs(d) < 8) value += line.countsPerMs * std::exp(-0.5 * d * d);
        }
        counts[p] = value;
    }
    return counts;
}

}  // namespace kestrion
