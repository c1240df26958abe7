#pragma once

#include "OwnText.h"

namespace quenlix {

// Texts of the saturation marks.
// clang-format off

// %1: pixels of the active device's newest frame at full scale.
inline constexpr OwnTextRow saturationText_Pixels = {
    L"饱和：%1 像素",
    L"飽和：%1 像素",
    L"Saturated: %1 px"};

// clang-format on

}  // namespace quenlix
