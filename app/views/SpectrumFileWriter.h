#pragma once

#include "DataFileSave.h"
#include "ViewDevice.h"

namespace quenlix {

// Prepares writer to save pixelCount values of device's spectrum: the
// language of the moment, the axis types of its preprocessing, its name,
// version and serial number, its integration time as set on the device (in
// microseconds, 12.7 ms as 12700), averaging and smoothing, three decimals
// for X and Y, and reserve0 (the page's peak threshold).
void PrepareSpectrumWriter(CDataFileSave& writer, const ViewDevice& device, int pixelCount, int reserve0);

}  // namespace quenlix
