#include "FrameUnpack.h"

namespace kestrion {
namespace {

template <int kSlot>
void Unpack(const uint8_t* __restrict first, int pixels, uint32_t* __restrict counts) {
    for (int i = 0; i < pixels; ++i) {
        counts[i] = static_cast<uint32_t>(first[i * kSlot]) | static_cast<uint32_t>(first[i * kSlot + 1]) << 8;
    }
}

}  // namespace

bool UnpackFrame(const ModelRow& row, const uint8_t* reply, int length, uint32_t* counts) {
    const int needed = FrameBytesNeeded(row);
    if (needed == 0 || length < needed) return false;
    const uint8_t* first = reply + row.firstPixelByte;
    // Fixed strides let the compiler widen many pixels at once.
    if (row.slotBytes == 2) {
        Unpack<2>(first, row.pixels, counts);
    } else {
        Unpack<4>(first, row.pixels, counts);
    }
    return true;
}

}  // namespace kestrion
