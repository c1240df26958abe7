#include "AxisUnits.h"

#include <algorithm>
#include <cmath>

namespace condira {

namespace {

constexpr double kLightSpeed = 299792458.0;  // m/s; divided by nm gives GHz
constexpr double kNmPerCm = 10000000.0;

// Transmission and reflection: the dark-corrected signal over the
// dark-corrected reference, in per cent.
double Transmission(double n, double d) {
    if (d == 0.0) d = 1.0;
    return std::clamp(n / d, 0.0, 1.0) * 100.0;
}

double Absorbance(double n, double d) {
    if (n <= 0.0) n = 1.0;
    if (d <= 0.0) d = 1.0;
    return std::clamp(-std::log(n / d), -1.0, 10.0);
}

}  // namespace

void FillXData(int code, const double* wavelengthNm, int n, int firstPixel, double excitationNm, double* xData) {
    for (int i = 0; i < n; ++i) {
        const double nm = wavelengthNm[i];
        switch (code) {
            case 0: xData[i] = nm; break;
            case 1: xData[i] = nm / 1000.0; break;
            case 2: xData[i] = i - firstPixel; break;
            case 3: xData[n - 1 - i] = kLightSpeed / nm; break;
            case 4: xData[n - 1 - i] = kNmPerCm / nm; break;
            case 5: xData[i] = (1.0 / excitationNm - 1.0 / nm) * kNmPerCm; break;
            default: return;
        }
    }
}

bool WavelengthFromXData(int code, const double* xData, int n, double excitationNm, double* wavelengthNm) {
    if (code == 2 || !IsAxisType(code)) return false;
    for (int i = 0; i < n; ++i) {
        switch (code) {
            case 0: wavelengthNm[i] = xData[i]; break;
            case 1: wavelengthNm[i] = xData[i] * 1000.0; break;
            case 3: wavelengthNm[i] = kLightSpeed / xData[n - 1 - i]; break;
            case 4: wavelengthNm[i] = kNmPerCm / xData[n - 1 - i]; break;
            case 5: wavelengthNm[i] = 1.0 / (1.0 / excitationNm - xData[i] / kNmPerCm); break;
        }
    }
    return true;
}

void ConvertY(int code, const YSources& src, int n, double* out) {
    const double* I = src.intensity;
    const double* D = src.dark;
    const double* R = src.reference;
    const double S = src.superposition;
    // One loop per unit keeps the per-pixel work free of dispatch.
    switch (code) {
        case 0: std::copy(I, I + n, out); break;
        case 1:
            for (int i = 0; i < n; ++i) out[i] = I[i] - S * D[i];
            break;
        case 2:
        case 3:
            for (int i = 0; i < n; ++i) out[i] = Transmission(I[i] - S * D[i], R[i] - D[i]);
            break;
        case 4:
            for (int i = 0; i < n; ++i) out[i] = Absorbance(I[i] - S * D[i], R[i] - D[i]);
            break;
        case 5: {
            // A dark level or intensity of zero or below has no decibel value;
            // it counts as one count, as the absorbance guard does.
            const double dark = src.darkMean > 0 ? src.darkMean : 1.0;
            for (int i = 0; i < n; ++i) out[i] = 20.0 * std::log10((I[i] > 0.0 ? I[i] : 1.0) / dark);
            break;
        }
        default: break;
    }
}

int DarkMean(const double* dark, int n) {
    if (n <= 0) return 0;
    // Bounded so the conversion to integers is defined for any stored value.
    constexpr double kLimit = 1e12;
    long long sum = 0;
    for (int i = 0; i < n; ++i) sum += static_cast<long long>(std::clamp(dark[i], -kLimit, kLimit));
    return static_cast<int>(std::clamp<long long>(sum / n, -2147483647LL - 1, 2147483647LL));
}

}  // namespace condira
