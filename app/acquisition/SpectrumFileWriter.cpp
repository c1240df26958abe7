#include "SpectrumFileWriter.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace quenlix {

void PrepareSpectrumWriter(CDataFileSave& writer, const ViewDevice& device, int pixelCount, int reserve0,
                           int language) {
    writer.SetUsingLanguage(language);
    writer.SetPixelCount(pixelCount);
    writer.SetDataType(device.preprocessor->GetXAxisType(), device.preprocessor->GetYAxisType());
    writer.SetDeviceInfo(device.link->GetDeviceName(), device.link->GetVersionInfo(), device.serialNumber);
    const double us = std::round(device.link->GetIntegralTimeMS() * 1000);
    writer.SetSpectrumInfo(us >= 0 && us <= 2147483647.0 ? static_cast<int>(us) : -1,
                           device.preprocessor->GetAvgCount(), device.preprocessor->GetSmoothness());
    writer.SetDecimalCount(3, 3);
    writer.SetReverse0(reserve0);
    writer.SetSaturatedPixels(device.spectrumSaturation.PixelCount());
}

scrivona::ExportedSpectrum ExportedFrom(const ViewDevice& device, int pixelCount, const double* x,
                                        const double* y) {
    scrivona::ExportedSpectrum spectrum;
    spectrum.deviceName = device.link->GetDeviceName();
    spectrum.serialNumber = device.serialNumber;
    spectrum.versionInfo = device.link->GetVersionInfo();
    spectrum.integrationMs = device.link->GetIntegralTimeMS();
    spectrum.avgCount = device.preprocessor->GetAvgCount();
    spectrum.smoothness = device.preprocessor->GetSmoothness();
    spectrum.xType = device.preprocessor->GetXAxisType();
    spectrum.yType = device.preprocessor->GetYAxisType();
    spectrum.excitationNm = device.preprocessor->GetExcitationWavelength();
    spectrum.saturatedPixels = device.spectrumSaturation.PixelCount();
    spectrum.isoDateTime = IsoLocalTimeNow();
    spectrum.x = x;
    spectrum.y = y;
    spectrum.count = pixelCount;
    return spectrum;
}

std::string IsoLocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const long offsetMinutes = local.tm_gmtoff / 60;
    const long offset = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  offsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return text;
}

}  // namespace quenlix
