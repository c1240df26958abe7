#pragma once

#include <cstdint>
#include <vector>

#define QUENLIX_CONDIRA_API __attribute__((visibility("default")))

// Per-device preprocessing of spectrometer frames: block averaging,
// superposition, boxcar smoothing, dark and reference spectra, and the X and
// Y units the spectrum is shown in. One instance per displayed device.
//
// Spectra are kept in acquisition order against a wavelength table in nm.
// X units (code): 0 nm, 1 µm, 2 pixel (relative to the display window's first
// pixel), 3 GHz, 4 wavenumber cm⁻¹, 5 Raman shift cm⁻¹ against the excitation
// wavelength. GHz and wavenumber fall as the wavelength rises, so their X
// values are stored reversed and GetYData reverses Y to match.
// Y units (code, I intensity, D dark, R reference, S superposition count):
//   0 I; 1 I − S·D; 2 and 3 100·(I − S·D)/(R − D) clamped to 0..100 (a zero
//   denominator counts as 1); 4 −ln((I − S·D)/(R − D)) clamped to −1..10
//   (non-positive numerator or denominator counts as 1); 5 20·log10(I / mean
//   dark), where a non-positive I or mean dark counts as one count so the
//   value is always finite.
//
// Not thread-safe: all calls come from one thread. Arrays handed in hold
// GetPixelCount() values; null arrays are ignored (int results 0). The
// instance allocates everything in its constructor; AddNewSpectrumData
// allocates nothing and costs the same for every smoothness.
class QUENLIX_CONDIRA_API CCondira {
public:
    // A negative pixel count gives an instance with no pixels.
    explicit CCondira(int pixelCount);
    virtual ~CCondira();
    CCondira(const CCondira&) = delete;
    CCondira& operator=(const CCondira&) = delete;

    // Frame pipeline: sums the frame into the running average block; every
    // avgCount frames closes a block (GetDataNo grows) and adds it to the
    // superposition sum, which becomes the superposed spectrum every
    // superpositionCount blocks. Then smooths and converts to the Y unit.
    void AddNewSpectrumData(const double* frame);

    // Counts: 0 and no change for values below 1 (smoothness: below 0).
    // Lowering a count does not clear the running block: the next frame
    // closes it and divides by the new count.
    int SetAvgCount(int n);
    int GetAvgCount() const;
    int SetSuperpositionCount(int n);
    // Averaged spectra in the running superposition sum: 0 right after a
    // block completed the superposed spectrum.
    int GetSuperpositionIndex() const;
    // Half-width of the boxcar. Near the ends the window shrinks so it stays
    // symmetric; a half-width beyond what the pixel count allows smooths like
    // the widest window that fits ((N − 1) / 2) and GetSmoothness still
    // reports the value given.
    int SetSmoothness(int n);
    int GetSmoothness() const;

    int GetNthOfAvgCount() const;
    // Progress of the running block in per cent, superposition included.
    double GetPercentOfAvgCount() const;
    // Averaged spectra completed since construction; wraps after 2³¹ − 1.
    std::int32_t GetDataNo() const;
    int GetPixelCount() const;

    // Store the current smoothed spectrum as dark / reference; only while the
    // Y unit is 0 (raw counts), else 0 and nothing changes.
    int SaveDarkSpectrum();
    int SaveRefSpectrum();
    bool IsDarkSaved() const;
    bool IsRefSaved() const;

    void SetWavelengthNm(const double* wavelengthNm);
    // Display window: first stored position and count. Clamped to the pixels
    // of the instance. Starts at 0 and all pixels.
    void SetDisPixelCount(int start, int count);
    void SetYIntensityRegion(double low, double high);  // starts 0, 0
    // X values of the window's ends; untouched for an empty window.
    void GetXRegion(double& low, double& high) const;
    // Extremes of the current Y over the window; 1e201 and −1e201 when empty.
    void GetNowYRegion(double& min, double& max) const;
    // Replaces the current Y (in stored order) until the next frame.
    void SetNowYData(const double* y);

    // X unit: 0 for codes outside 0..5. With a wavelength table the X values
    // are recomputed now, with the window start and excitation of this moment.
    int SetXAxisType(int code);
    int GetXAxisType() const;
    // Y unit: 1 needs a dark spectrum, 2..4 dark and reference, 5 dark. Takes
    // effect with the next frame.
    int SetYAxisType(int code);
    int GetYAxisType() const;
    void SetExcitationWavelength(double nm);
    double GetExcitationWavelength() const;
    // Fills the wavelength table from X values in unit code (not pixel) and
    // makes code the X unit; the caller follows with SetXAxisType(code).
    int SetXData(int code, const double* x);
    // The window's X and Y, both rising in X; window-count values each.
    int GetXData(double* dst) const;
    int GetYData(double* dst) const;
    // Fixed Y range of the current Y unit.
    void GetYRegion(double& low, double& high) const;

private:
    void Smooth();
    void ConvertY();

    const int pixelCount;
    int disStart = 0;
    int disCount;
    int avgCount = 1;
    int nthOfAvg = 0;
    std::int32_t dataNo = 0;
    int superpositionCount = 1;
    int superpositionIndex = 0;
    int smoothness = 0;
    double yIntensityLow = 0.0;
    double yIntensityHigh = 0.0;
    int xAxisType = 0;
    int yAxisType = 0;
    int darkMean = 0;
    double excitationWavelength = 785.0;
    bool wavelengthSet = false;
    bool darkSaved = false;
    bool refSaved = false;

    std::vector<double> wavelengthNm;
    std::vector<double> xData;
    std::vector<double> avgSum;
    std::vector<double> avgSpectrum;
    std::vector<double> superSum;
    std::vector<double> superSpectrum;
    std::vector<double> smoothSpectrum;
    std::vector<double> darkSpectrum;
    std::vector<double> refSpectrum;
    std::vector<double> nowYData;
    // Working space of the smoothing, kept so frames allocate nothing.
    std::vector<double> blockHeadSums;
    std::vector<double> blockTailSums;
};
