#pragma once

#include <cstdint>
#include <string_view>

namespace kestrion {

enum class XAxisKind {
    PolynomialAndSpline,  // wavelength polynomial plus the correction spline
    PixelIndex,           // X is the pixel number, range fixed to 0 … 2048
    PolynomialOnly,
};

// Everything that differs between spectrometer models. A device is picked by
// the model code it reports; an unlisted code gets the last row.
struct ModelRow {
    const char* code;     // 8 characters as reported; empty for the unlisted row
    const char* name;     // shown name; the unlisted row shows the raw code
    int pixels;
    double maxY;          // counts clip here (minY is 0 for all)
    int64_t minTimeUs;    // integration limits; 0 = no limits
    int64_t maxTimeUs;
    int unitsPerUs;       // device integration value = µs × this
    int firstPixelByte;   // frame layout in the 8192-byte reply:
    int slotBytes;        //   pixel i is the LE uint16 at first + i × slot; 0 = no layout
    XAxisKind xAxis;
    double darkBase;      // dark region: darkBase below 100 ms integration,
    double darkSlope;     //   else integration ms × darkSlope + darkBase
};

inline constexpr int kModelCount = 6;
inline constexpr int kUnlistedModel = 5;

const ModelRow& ModelAt(int index);  // index outside the table gives the unlisted row

// Row index of the code (exact comparison), kUnlistedModel when not listed.
int FindModel(std::string_view code);

// Bytes a reply must hold for every pixel of the row's layout; 0 when the
// row has no layout.
int FrameBytesNeeded(const ModelRow& row);

}  // namespace kestrion
