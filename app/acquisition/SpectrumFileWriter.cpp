#include "SpectrumFileWriter.h"

#include <cmath>

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
}

}  // namespace quenlix
