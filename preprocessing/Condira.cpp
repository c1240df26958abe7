#include "Condira.h"

#include <algorithm>

#include "AxisUnits.h"
#include "Boxcar.h"

using condira::IsAxisType;
using condira::IsReversedXAxisType;

CCondira::CCondira(int pixelCount)
    : pixelCount(std::max(pixelCount, 0)),
      disCount(this->pixelCount),
      wavelengthNm(this->pixelCount),
      xData(this->pixelCount),
      avgSum(this->pixelCount),
      avgSpectrum(this->pixelCount),
      superSum(this->pixelCount),
      superSpectrum(this->pixelCount),
      smoothSpectrum(this->pixelCount),
      darkSpectrum(this->pixelCount),
      refSpectrum(this->pixelCount),
      nowYData(this->pixelCount),
      blockHeadSums(this->pixelCount),
      blockTailSums(this->pixelCount) {}

CCondira::~CCondira() = default;

void CCondira::AddNewSpectrumData(const double* frame) {
    if (frame == nullptr) return;
    const int n = pixelCount;
    for (int i = 0; i < n; ++i) avgSum[i] += frame[i];
    if (++nthOfAvg >= avgCount) {
        for (int i = 0; i < n; ++i) {
            avgSpectrum[i] = avgSum[i] / avgCount;
            avgSum[i] = 0.0;
        }
        nthOfAvg = 0;
        dataNo = static_cast<std::int32_t>((static_cast<std::uint32_t>(dataNo) + 1u) & 0x7fffffffu);

        for (int i = 0; i < n; ++i) superSum[i] += avgSpectrum[i];
        if (++superpositionIndex >= superpositionCount) {
            superpositionIndex = 0;
            std::copy(superSum.begin(), superSum.end(), superSpectrum.begin());
            std::fill(superSum.begin(), superSum.end(), 0.0);
        }
    }
    Smooth();
    ConvertY();
}

void CCondira::Smooth() {
    condira::BoxcarMean(superSpectrum.data(), pixelCount, smoothness, smoothSpectrum.data(), blockHeadSums.data(),
                        blockTailSums.data());
}

void CCondira::ConvertY() {
    const condira::YSources src{smoothSpectrum.data(), darkSpectrum.data(), refSpectrum.data(),
                                static_cast<double>(superpositionCount), darkMean};
    condira::ConvertY(yAxisType, src, pixelCount, nowYData.data());
}

int CCondira::SetAvgCount(int n) {
    if (n <= 0) return 0;
    avgCount = n;
    return 1;
}

int CCondira::GetAvgCount() const { return avgCount; }

int CCondira::SetSuperpositionCount(int n) {
    if (n <= 0) return 0;
    superpositionCount = n;
    return 1;
}

int CCondira::SetSmoothness(int n) {
    if (n < 0) return 0;
    smoothness = n;
    return 1;
}

int CCondira::GetSmoothness() const { return smoothness; }

int CCondira::GetNthOfAvgCount() const { return nthOfAvg; }

int CCondira::GetSuperpositionIndex() const { return superpositionIndex; }

double CCondira::GetPercentOfAvgCount() const {
    return (nthOfAvg + 1) * 100.0 * (superpositionIndex + 1) / (static_cast<double>(avgCount) * superpositionCount);
}

std::int32_t CCondira::GetDataNo() const { return dataNo; }

int CCondira::GetPixelCount() const { return pixelCount; }

int CCondira::SaveDarkSpectrum() {
    if (yAxisType != 0) return 0;
    darkSpectrum = smoothSpectrum;
    darkSaved = true;
    return 1;
}

int CCondira::SaveRefSpectrum() {
    if (yAxisType != 0) return 0;
    refSpectrum = smoothSpectrum;
    refSaved = true;
    return 1;
}

bool CCondira::IsDarkSaved() const { return darkSaved; }

bool CCondira::IsRefSaved() const { return refSaved; }

void CCondira::SetWavelengthNm(const double* nm) {
    if (nm == nullptr) return;
    std::copy(nm, nm + pixelCount, wavelengthNm.begin());
    if (xAxisType == 0) xData = wavelengthNm;
    wavelengthSet = true;
}

void CCondira::SetDisPixelCount(int start, int count) {
    disStart = std::clamp(start, 0, pixelCount);
    disCount = std::clamp(count, 0, pixelCount - disStart);
}

void CCondira::SetYIntensityRegion(double low, double high) {
    yIntensityLow = low;
    yIntensityHigh = high;
}

void CCondira::GetXRegion(double& low, double& high) const {
    if (!IsAxisType(xAxisType) || disCount == 0) return;
    low = xData[disStart];
    high = xData[disStart + disCount - 1];
}

void CCondira::GetNowYRegion(double& min, double& max) const {
    min = 1e201;
    max = -1e201;
    for (int i = disStart; i < disStart + disCount; ++i) {
        if (nowYData[i] < min) min = nowYData[i];
        if (nowYData[i] > max) max = nowYData[i];
    }
}

void CCondira::SetNowYData(const double* y) {
    if (y != nullptr) std::copy(y, y + pixelCount, nowYData.begin());
}

int CCondira::SetXAxisType(int code) {
    if (!IsAxisType(code)) return 0;
    xAxisType = code;
    if (wavelengthSet)
        condira::FillXData(code, wavelengthNm.data(), pixelCount, disStart, excitationWavelength, xData.data());
    return 1;
}

int CCondira::GetXAxisType() const { return xAxisType; }

int CCondira::SetYAxisType(int code) {
    bool accepted = false;
    switch (code) {
        case 0: accepted = true; break;
        case 1: accepted = darkSaved; break;
        case 2:
        case 3:
        case 4: accepted = darkSaved && refSaved; break;
        case 5:
            accepted = darkSaved;
            if (accepted) darkMean = condira::DarkMean(darkSpectrum.data(), pixelCount);
            break;
        default: break;
    }
    if (!accepted) return 0;
    yAxisType = code;
    return 1;
}

int CCondira::GetYAxisType() const { return yAxisType; }

void CCondira::SetExcitationWavelength(double nm) { excitationWavelength = nm; }

double CCondira::GetExcitationWavelength() const { return excitationWavelength; }

int CCondira::SetXData(int code, const double* x) {
    xAxisType = code;
    if (x == nullptr ||
        !condira::WavelengthFromXData(code, x, pixelCount, excitationWavelength, wavelengthNm.data()))
        return 0;
    wavelengthSet = true;
    return 1;
}

int CCondira::GetXData(double* dst) const {
    if (dst == nullptr) return 0;
    std::copy_n(xData.begin() + disStart, disCount, dst);
    return 1;
}

int CCondira::GetYData(double* dst) const {
    if (dst == nullptr || !IsAxisType(xAxisType)) return 0;
    if (IsReversedXAxisType(xAxisType)) {
        for (int k = 0; k < disCount; ++k) dst[k] = nowYData[pixelCount - 1 - (disStart + k)];
    } else {
        std::copy_n(nowYData.begin() + disStart, disCount, dst);
    }
    return 1;
}

void CCondira::GetYRegion(double& low, double& high) const {
    switch (yAxisType) {
        case 0:
        case 1: low = yIntensityLow, high = yIntensityHigh; break;
        case 2:
        case 3: low = 0.0, high = 100.0; break;
        case 4: low = 0.0, high = 10.0; break;
        case 5: low = -10.0, high = 50.0; break;
        default: break;
    }
}
