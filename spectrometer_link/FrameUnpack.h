#pragma once

#include <cstdint>

#include "ModelTable.h"

namespace kestrion {

// Takes the row's pixel counts out of a frame reply into counts (row.pixels
// entries). False, with counts untouched, when the reply is shorter than the
// layout or the row has none: such a reply is not a frame.
bool UnpackFrame(const ModelRow& row, const uint8_t* reply, int length, uint32_t* counts);

}  // namespace kestrion
