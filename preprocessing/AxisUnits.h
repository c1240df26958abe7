#pragma once

namespace condira {

inline bool IsAxisType(int code) { return code >= 0 && code <= 5; }

// X units whose values fall as the wavelength rises; stored reversed.
inline bool IsReversedXAxisType(int code) { return code == 3 || code == 4; }

// X value of every stored position in unit code from the wavelength table
// (nm, acquisition order). Pixel numbers count from firstPixel.
void FillXData(int code, const double* wavelengthNm, int n, int firstPixel, double excitationNm, double* xData);

// Inverse of FillXData for every code but pixel; false (nothing written) for
// pixel and unknown codes.
bool WavelengthFromXData(int code, const double* xData, int n, double excitationNm, double* wavelengthNm);

// What the Y units are computed from, all per pixel in acquisition order.
struct YSources {
    const double* intensity;
    const double* dark;
    const double* reference;
    double superposition;
    int darkMean;
};

// Y in unit code for n pixels; unknown codes leave out as it is.
void ConvertY(int code, const YSources& src, int n, double* out);

// Integer mean of the dark spectrum: each value truncated toward zero, summed,
// divided by n with truncation.
int DarkMean(const double* dark, int n);

}  // namespace condira
