#include "SpectrumScene.h"

#include <cmath>
#include <iterator>

namespace kestrion {
namespace {

struct SceneShape {
    std::string_view name;
    std::vector<SceneLine> lines = {};        // counts per ms
    double lineWidthNm = 0.6;                 // Gaussian sigma of one line, the source's and the plasma's
    double backgroundPerMs = 0;               // broad background peak height
    double backgroundCentreNm = 0;
    double backgroundWidthNm = 0;             // sigma; 0 = flat
    std::vector<SceneLine> bands = {};        // absorbance
    double bandWidthNm = 0;                   // sigma of one band
    std::vector<SceneLine> plasmaLines = {};  // counts per pulse
};

// Brightness chosen so that the strongest feature stays below full scale at
// the program's default 100 ms (the lamp's strongest line clips from about
// 150 ms on), and a plasma flash stays below it whatever the integration time.
const SceneShape& ShapeOf(Scene scene) {
    static const SceneShape shapes[] = {
        {.name = "lamp",
         .lines = {{404.656, 36}, {435.833, 72}, {546.074, 104}, {576.960, 28}, {579.066, 30}, {696.543, 21},
                   {706.722, 18}, {738.398, 16}, {763.511, 60}, {811.531, 48}, {912.297, 24}},
         .backgroundPerMs = 4},
        {.name = "ruby",
         .lines = {{692.86, 68}, {694.25, 120}},
         .lineWidthNm = 0.35,
         .backgroundPerMs = 6.4,
         .backgroundCentreNm = 700,
         .backgroundWidthNm = 60},
        // A halogen-like continuum over the whole range, through a dye with
        // a weak blue-green and a strong orange band.
        {.name = "sample",
         .backgroundPerMs = 100,
         .backgroundCentreNm = 650,
         .backgroundWidthNm = 220,
         .bands = {{480, 0.5}, {620, 1.0}},
         .bandWidthNm = 15},
        // Ca, Fe, H, Na, K and O lines of a plasma on a soil-like sample,
        // broadened a little beyond the lamp's lines.
        {.name = "libs",
         .lineWidthNm = 0.4,
         .plasmaLines = {{371.994, 2500}, {393.366, 9000}, {396.847, 7000}, {404.581, 2000}, {422.673, 3000},
                         {438.355, 1800}, {486.133, 1200}, {588.995, 6000}, {589.592, 3500}, {656.279, 4000},
                         {766.490, 2500}, {777.194, 3000}}},
    };
    const auto index = static_cast<size_t>(scene);
    return shapes[index < std::size(shapes) ? index : 0];
}

}  // namespace

std::string_view SceneName(Scene scene) { return ShapeOf(scene).name; }

std::optional<Scene> SceneNamed(std::string_view name) {
    for (Scene scene : kAllScenes) {
        if (SceneName(scene) == name) return scene;
    }
    return std::nullopt;
}

const std::vector<SceneLine>& SceneLines(Scene scene) { return ShapeOf(scene).lines; }
const std::vector<SceneLine>& ScenePlasmaLines(Scene scene) { return ShapeOf(scene).plasmaLines; }
const std::vector<SceneLine>& SceneBands(Scene scene) { return ShapeOf(scene).bands; }
double SceneLineWidthNm(Scene scene) { return ShapeOf(scene).lineWidthNm; }

double GaussianLines(const std::vector<SceneLine>& lines, double sigmaNm, double nm) {
    double sum = 0;
    for (const SceneLine& line : lines) {
        const double d = (nm - line.wavelengthNm) / sigmaNm;
        if (std::abs(d) < kLineReachSigmas) sum += line.peak * std::exp(-0.5 * d * d);
    }
    return sum;
}

SceneOnDetector PlaceScene(Scene scene, const std::array<double, 4>& d, int pixels) {
    const SceneShape& shape = ShapeOf(scene);
    const size_t count = pixels > 0 ? static_cast<size_t>(pixels) : 0;
    SceneOnDetector placed{std::vector<double>(count), std::vector<double>(count), std::vector<double>(count),
                           std::vector<double>(count)};
    for (size_t p = 0; p < count; ++p) {
        const double x = static_cast<double>(p);
        const double nm = d[0] + d[1] * x + d[2] * x * x + d[3] * x * x * x;
        placed.wavelengthNm[p] = nm;
        double source = shape.backgroundPerMs;
        if (shape.backgroundWidthNm > 0) {
            const double b = (nm - shape.backgroundCentreNm) / shape.backgroundWidthNm;
            source *= std::exp(-0.5 * b * b);
        }
        placed.sourcePerMs[p] = source + GaussianLines(shape.lines, shape.lineWidthNm, nm);
        placed.transmittance[p] = std::exp(-GaussianLines(shape.bands, shape.bandWidthNm, nm));
        placed.plasmaCounts[p] = GaussianLines(shape.plasmaLines, shape.lineWidthNm, nm);
    }
    return placed;
}

}  // namespace kestrion
