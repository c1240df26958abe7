#pragma once

#include "OwnText.h"

namespace quenlix {

// The texts of the Simulator menu, shown when the spectrometers are simulated.
// clang-format off
inline constexpr OwnTextRow simulatorMenu_Title = {L"模拟器", L"模擬器", L"Simulator"};
inline constexpr OwnTextRow simulatorMenu_SourceOn = {L"光源开启", L"光源開啟", L"Source On"};
inline constexpr OwnTextRow simulatorMenu_SampleIn = {L"样品放入", L"樣品放入", L"Sample In"};
inline constexpr OwnTextRow simulatorMenu_LaserFiring = {L"激光发射", L"雷射發射", L"Laser Firing"};
// clang-format on

}  // namespace quenlix
