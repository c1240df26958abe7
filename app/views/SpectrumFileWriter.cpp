#include "SpectrumFileWriter.h"

#include <QDateTime>
#include <QFileInfo>
#include <cmath>

#include "ProcessValues.h"

namespace quenlix {

void PrepareSpectrumWriter(CDataFileSave& writer, const ViewDevice& device, int pixelCount, int reserve0) {
    writer.SetUsingLanguage(languageIndex);
    writer.SetPixelCount(pixelCount);
    writer.SetDataType(device.preprocessor->GetXAxisType(), device.preprocessor->GetYAxisType());
    writer.SetDeviceInfo(device.link->GetDeviceName(), device.link->GetVersionInfo(), device.serialNumber);
    const double us = std::round(device.link->GetIntegralTimeMS() * 1000);
    writer.SetSpectrumInfo(us >= 0 && us <= 2147483647.0 ? static_cast<int>(us) : -1,
                           device.preprocessor->GetAvgCount(), device.preprocessor->GetSmoothness());
    writer.SetDecimalCount(3, 3);
    writer.SetReverse0(reserve0);
}

scrivona::ExportedSpectrum ExportedFrom(const ViewDevice& device, int pixelCount, const double* x, const double* y) {
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
    // Local time with its offset, so the date means one moment wherever it is read.
    const QDateTime now = QDateTime::currentDateTime();
    spectrum.isoDateTime = now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODate).toStdString();
    spectrum.x = x;
    spectrum.y = y;
    spectrum.count = pixelCount;
    return spectrum;
}

SpectrumFileFormat FormatOfFileName(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == QLatin1String("csv")) return SpectrumFileFormat::Csv;
    if (extension == QLatin1String("jdx") || extension == QLatin1String("dx")) return SpectrumFileFormat::JcampDx;
    return SpectrumFileFormat::Text;
}

}  // namespace quenlix
