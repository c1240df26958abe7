#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace kestrion {

// What a simulated spectrometer looks at.
enum class Scene {
    MercuryArgonLamp,  // Hg and Ar emission lines on a faint continuum
    RubyFluorescence,  // ruby R2/R1 doublet on a broad background
    AbsorbingSample,   // a white source seen through a sample with two absorption bands
    LaserPlasma,       // atomic lines of a laser-induced plasma, one flash per laser pulse
};

// The scene's name on the command line ("lamp", "ruby", "sample", "libs"),
// and the scene of a name; nothing for an unknown name.
std::string_view SceneName(Scene scene);
std::optional<Scene> SceneNamed(std::string_view name);
inline constexpr Scene kAllScenes[] = {Scene::MercuryArgonLamp, Scene::RubyFluorescence,
                                       Scene::AbsorbingSample, Scene::LaserPlasma};

// A Gaussian feature: its centre in nm and its peak height, counts per ms
// for a source's lines, counts per laser pulse for a plasma's lines and
// absorbance (−ln of the transmittance) for a sample's bands.
struct SceneLine {
    double wavelengthNm;
    double peak;
};

// The source's emission lines; the plasma's lines; the sample's bands.
const std::vector<SceneLine>& SceneLines(Scene scene);
const std::vector<SceneLine>& ScenePlasmaLines(Scene scene);
const std::vector<SceneLine>& SceneBands(Scene scene);
// The Gaussian sigma of the source's and the plasma's lines, nm.
double SceneLineWidthNm(Scene scene);
// The sum of the lines at nm, each of Gaussian sigma sigmaNm; a line adds
// nothing beyond kLineReachSigmas sigmas from its centre.
inline constexpr double kLineReachSigmas = 8;
double GaussianLines(const std::vector<SceneLine>& lines, double sigmaNm, double nm);

// The scene placed on the detector through the optics' dispersion, the
// wavelength at pixel p being d0 + d1·p + d2·p² + d3·p³; pixels values each.
struct SceneOnDetector {
    std::vector<double> wavelengthNm;   // of each pixel
    std::vector<double> sourcePerMs;    // the source's light, counts per ms of integration
    std::vector<double> transmittance;  // of the sample, 1 where it does not absorb
    std::vector<double> plasmaCounts;   // one laser pulse's plasma flash, counts
};
SceneOnDetector PlaceScene(Scene scene, const std::array<double, 4>& dispersion, int pixels);

}  // namespace kestrion
