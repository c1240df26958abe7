#pragma once

#include <string>

#include "DataFileSave.h"
#include "SpectrumExport.h"
#include "ViewDevice.h"

namespace quenlix {

// Prepares writer to save pixelCount values of device's spectrum: header
// texts in language (0 … 3, as CDataFileSave takes it), the axis types of its
// preprocessing, its name, version and serial number, its integration time as
// set on the device (in microseconds, 12.7 ms as 12700), averaging and
// smoothing, three decimals for X and Y, reserve0 (a page's peak threshold)
// and the saturated pixels of its spectrum. A writer kept for several
// spectra takes the saturation of each through SetSaturatedPixels.
void PrepareSpectrumWriter(CDataFileSave& writer, const ViewDevice& device, int pixelCount, int reserve0,
                           int language);

// The same facts for the CSV and JCAMP-DX exports, dated now, saturation
// included; x and y are
// borrowed, not copied.
scrivona::ExportedSpectrum ExportedFrom(const ViewDevice& device, int pixelCount, const double* x,
                                        const double* y);

// "2026-12-08T10:00:00+01:00": the local time with its offset from UTC, so
// the date means one moment wherever it is read.
std::string IsoLocalTimeNow();

}  // namespace quenlix
