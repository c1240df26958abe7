#pragma once

#include <QString>

#include "DataFileSave.h"
#include "SpectrumExport.h"
#include "ViewDevice.h"

namespace quenlix {

// Prepares writer to save pixelCount values of device's spectrum: the
// language of the moment, the axis types of its preprocessing, its name,
// version and serial number, its integration time as set on the device (in
// microseconds, 12.7 ms as 12700), averaging and smoothing, three decimals
// for X and Y, and reserve0 (the page's peak threshold).
void PrepareSpectrumWriter(CDataFileSave& writer, const ViewDevice& device, int pixelCount, int reserve0);

// The same facts for the CSV and JCAMP-DX exports, dated now; x and y are
// borrowed, not copied.
scrivona::ExportedSpectrum ExportedFrom(const ViewDevice& device, int pixelCount, const double* x, const double* y);

enum class SpectrumFileFormat { Text, Csv, JcampDx };
// By the name's extension, as the save dialog adds the chosen filter's one:
// .csv, .jdx and .dx (in any case) are the exports, anything else the text files.
SpectrumFileFormat FormatOfFileName(const QString& path);

}  // namespace quenlix
