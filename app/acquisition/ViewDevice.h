#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Condira.h"
#include "Kestrion.h"
#include "SaturationMarks.h"

namespace quenlix {

// One device bound to a page or session. The session owns the record, its
// preprocessor and buffers; the link belongs to the device list.
struct ViewDevice {
    int number = 0;
    std::wstring serialNumber;
    std::unique_ptr<CCondira> preprocessor;
    CKestrion* link = nullptr;
    std::vector<double> xBuffer;  // X in the current unit, display window only
    std::vector<double> yBuffer;  // the last processed spectrum
    std::vector<double> frame;    // the newest raw frame: every pixel of the device, in counts
    int pointCount = 0;           // display-window pixel count
    int firstPixel = 0;           // the display window's first pixel of the frame
    long lastFrameNo = -1;
    long lastDataNo = -1;
    double fullScale = 0;               // the model's full scale: counts clip here
    SaturationMarks frameSaturation;    // the newest frame's, in the display window
    // Pixels saturated in at least one frame summed into yBuffer (its averaging
    // block, or every block of a superposed spectrum): their mean is lowered
    // by the clipped frames however few they are.
    SaturationMarks spectrumSaturation;
    std::vector<double> blockPeak;      // highest count of each window pixel since the last spectrum
};

}  // namespace quenlix
