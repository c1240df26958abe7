#include "CalibrationFit.h"

#include <cmath>
#include <cwchar>
#include <cwctype>

#include "Algorithm.h"
#include "AlgorithmLibrary.h"

namespace quenlix {
namespace {

constexpr int kLeastPairs = 5;
constexpr int kOrder = 3;

double Evaluate(const CubicCoefficients& c, double p) { return p * (p * (c[3] * p)) + p * (p * c[2]) + p * c[1] + c[0]; }

bool IsBlank(const std::wstring& text) {
    for (const wchar_t ch : text)
        if (!std::iswspace(static_cast<wint_t>(ch))) return false;
    return true;
}

}  // namespace

bool ReadOneNumber(const std::wstring& text, double& value) {
    const wchar_t* begin = text.c_str();
    wchar_t* end = nullptr;
    const double read = std::wcstod(begin, &end);
    if (end == begin || !IsBlank(std::wstring(end)) || !std::isfinite(read)) return false;
    value = read;
    return true;
}

CalibrationPairs ReadCalibrationPairs(const std::vector<CalibrationRowText>& rows) {
    CalibrationPairs pairs;
    if (static_cast<int>(rows.size()) < kLeastPairs) {
        pairs.status = CalibrationPairs::Status::TooFew;
        return pairs;
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        double pixel = 0, wavelength = 0;
        auto problem = CalibrationPairs::Status::Ok;
        // Pixel first, then wavelength: the wavelength's problem counts.
        for (const auto& [text, value] : {std::pair{&rows[i].pixel, &pixel}, std::pair{&rows[i].wavelength, &wavelength}}) {
            if (IsBlank(*text)) {
                problem = CalibrationPairs::Status::NotFilled;
            } else if (!ReadOneNumber(*text, *value)) {
                problem = CalibrationPairs::Status::Wrong;
            }
        }
        if (problem != CalibrationPairs::Status::Ok) {
            pairs.status = problem;
            pairs.problemRow = static_cast<int>(i);
            pairs.pixels.clear();
            pairs.wavelengths.clear();
            return pairs;
        }
        pairs.pixels.push_back(pixel);
        pairs.wavelengths.push_back(wavelength);
    }
    return pairs;
}

double CoefficientOfDetermination(const CubicCoefficients& c, const std::vector<double>& pixels,
                                  const std::vector<double>& wavelengths) {
    const std::size_t n = std::min(pixels.size(), wavelengths.size());
    if (n == 0) return 0;
    double mean = 0;
    for (std::size_t i = 0; i < n; ++i) mean += wavelengths[i];
    mean /= static_cast<double>(n);
    double residual = 0, total = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double r = Evaluate(c, pixels[i]) - wavelengths[i];
        const double d = wavelengths[i] - mean;
        residual += r * r;
        total += d * d;
    }
    // All wavelengths alike: a perfect fit explains everything, any other nothing.
    if (total == 0) return residual == 0 ? 1.0 : 0.0;
    return 1.0 - residual / total;
}

CubicFit FitCalibrationCubic(const std::vector<double>& pixels, const std::vector<double>& wavelengths) {
    CubicFit fit;
    AlgorithmLibrary library;
    if (!library.IsLoaded()) {
        fit.status = CubicFit::Status::NoLibrary;
        return fit;
    }
    auto* routine = library.Routine<MultiOrderLeastSquareNoWeightFn>("MultiOrderLeastSquareNoWeight");
    if (routine == nullptr) {
        fit.status = CubicFit::Status::NoRoutine;
        return fit;
    }
    const int n = static_cast<int>(std::min(pixels.size(), wavelengths.size()));
    routine(pixels.data(), wavelengths.data(), n, kOrder, fit.coefficients.data());
    fit.rSquared = CoefficientOfDetermination(fit.coefficients, pixels, wavelengths);
    return fit;
}

}  // namespace quenlix
