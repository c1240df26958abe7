#pragma once

#include "OwnText.h"

namespace quenlix {

// The texts of the automatic integration time on the live page: the toolbar
// button's tooltip and the notes in the status bar. Times are in ms, peaks in
// per cent of full scale.
// clang-format off
inline constexpr OwnTextRow autoIntegration_Tooltip = {
    L"自动积分时间（再按一次或 Esc 取消）", L"自動積分時間（再按一次或 Esc 取消）",
    L"Automatic integration time (press again or Esc to cancel)"};
// %1 the step, %2 the most steps, %3 the time.
inline constexpr OwnTextRow autoIntegration_Step = {
    L"自动积分时间：第 %1 步（共 %2 步），%3 ms", L"自動積分時間：第 %1 步（共 %2 步），%3 ms",
    L"Auto integration: step %1 of %2, %3 ms"};
// %1 the time, %2 the peak.
inline constexpr OwnTextRow autoIntegration_Reached = {
    L"自动积分时间：%1 ms，峰值为满量程的 %2%", L"自動積分時間：%1 ms，峰值為滿量程的 %2%",
    L"Auto integration: %1 ms, peak at %2% of full scale"};
// %1 the shortest time.
inline constexpr OwnTextRow autoIntegration_StillSaturated = {
    L"自动积分时间：最短积分时间 %1 ms 下仍然饱和", L"自動積分時間：最短積分時間 %1 ms 下仍然飽和",
    L"Auto integration: still saturated at the shortest time, %1 ms"};
// %1 the shortest time, %2 the peak.
inline constexpr OwnTextRow autoIntegration_TooBright = {
    L"自动积分时间：最短积分时间 %1 ms 下仍然过亮（峰值为满量程的 %2%）",
    L"自動積分時間：最短積分時間 %1 ms 下仍然過亮（峰值為滿量程的 %2%）",
    L"Auto integration: too bright at the shortest time, %1 ms (peak at %2%)"};
// %1 the longest time, %2 the peak.
inline constexpr OwnTextRow autoIntegration_TooDark = {
    L"自动积分时间：最长积分时间 %1 ms 下仍然过暗（峰值为满量程的 %2%）",
    L"自動積分時間：最長積分時間 %1 ms 下仍然過暗（峰值為滿量程的 %2%）",
    L"Auto integration: too dark at the longest time, %1 ms (peak at %2%)"};
// %1 the most steps, %2 the time, %3 the peak.
inline constexpr OwnTextRow autoIntegration_NotReached = {
    L"自动积分时间：%1 步内未达到目标，%2 ms（峰值为满量程的 %3%）",
    L"自動積分時間：%1 步內未達到目標，%2 ms（峰值為滿量程的 %3%）",
    L"Auto integration: target not reached in %1 steps, %2 ms (peak at %3%)"};
// %1 the time restored.
inline constexpr OwnTextRow autoIntegration_Cancelled = {
    L"自动积分时间已取消，恢复为 %1 ms", L"自動積分時間已取消，恢復為 %1 ms",
    L"Auto integration cancelled, back to %1 ms"};
inline constexpr OwnTextRow autoIntegration_Refused = {
    L"自动积分时间需要一台活动设备在内触发下连续采集",
    L"自動積分時間需要一台作用中的裝置在內觸發下連續擷取",
    L"Auto integration needs an active device running with internal triggering"};
// clang-format on

}  // namespace quenlix
