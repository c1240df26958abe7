#pragma once

#include <array>
#include <string>
#include <vector>

namespace quenlix {

// λ(p) = I + C1·p + C2·p² + C3·p³, in the order I, C1, C2, C3.
using CubicCoefficients = std::array<double, 4>;

// One row of the calibration table as typed or picked.
struct CalibrationRowText {
    std::wstring pixel;
    std::wstring wavelength;
};

// The pairs of the calibration table, read for the fit.
struct CalibrationPairs {
    enum class Status { Ok, TooFew, NotFilled, Wrong };
    Status status = Status::Ok;
    int problemRow = -1;  // the first row with an empty or unreadable cell
    std::vector<double> pixels;
    std::vector<double> wavelengths;
};

// A cubic needs five pairs here; fewer are refused. The rows are read in
// order; the first row with an empty cell (not filled) or a cell that is no
// number (wrong) stops the reading, whatever follows it.
CalibrationPairs ReadCalibrationPairs(const std::vector<CalibrationRowText>& rows);

struct CubicFit {
    enum class Status { Ok, NoLibrary, NoRoutine };
    Status status = Status::Ok;
    CubicCoefficients coefficients{};
    double rSquared = 0;
};

// Fits the cubic by unweighted least squares through the numeric library,
// loaded for this one call. R² = 1 − SS_res / SS_tot, SS_tot being the
// spread of the measured wavelengths about their mean.
CubicFit FitCalibrationCubic(const std::vector<double>& pixels, const std::vector<double>& wavelengths);

double CoefficientOfDetermination(const CubicCoefficients& c, const std::vector<double>& pixels,
                                  const std::vector<double>& wavelengths);

// Exactly one number with nothing but blanks around it ("1.5e-6" is one).
bool ReadOneNumber(const std::wstring& text, double& value);

}  // namespace quenlix
