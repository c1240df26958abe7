#pragma once

#include <array>
#include <vector>

namespace kestrion {

// What a simulated spectrometer looks at.
enum class Scene {
    MercuryArgonLamp,   // Hg and Ar emission lines on a faint continuum
    RubyFluorescence,   // ruby R2/R1 doublet on a broad background
};

// A known emission line: wavelength in nm, peak counts per millisecond.
struct SceneLine {
    double wavelengthNm;
    double countsPerMs;
};

const std::vector<SceneLine>& SceneLines(Scene scene);

// Expected signal of every pixel in counts per millisecond of integration,
// the scene placed on the detector through the optics' dispersion, the
// wavelength at pixel p being d0 + d1·p + d2·p² + d3·p³.
std::vector<double> SceneCountsPerMs(Scene scene, const std::array<double, 4>& dispersion, int pixels);

}  // namespace kestrion
