#include "FrameUnpack.h"

namespace kestrion {

bool UnpackFrame(const ModelRow& row, const uint8_t* reply, int length, uint32_t* counts) {
    const int needed = FrameBytesNeeded(row);
    if (needed == 0 || length < needed) return false;
    const uint8_t* slot = reply + row.firstPixelByte;
    for (int i = 0; i < row.pixels; ++i, slot += row.slotBytes) {
        counts[i] = static_cast<uint32_t>(slot[0]) | static_cast<uint32_t>(slot[1]) << 8;
    }
    return true;
}

}  // namespace kestrion
