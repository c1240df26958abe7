#pragma once

#include "DataFileSave.h"
#include "ViewDevice.h"

namespace quenlix {

// Prepares writer to save pixelCount values of device's spectrum: header
// texts in language (0 … 3, as CDataFileSave takes it), the axis types of its
// preprocessing, its name, version and serial number, its integration time as
// set on the device (in microseconds, 12.7 ms as 12700), averaging and
// smoothing, three decimals for X and Y, and reserve0 (a page's peak threshold).
void PrepareSpectrumWriter(CDataFileSave& writer, const ViewDevice& device, int pixelCount, int reserve0,
                           int language);

}  // namespace quenlix
