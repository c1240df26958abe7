#pragma once

#include "OwnText.h"

namespace quenlix {

// Texts of the time trace page.
// clang-format off
inline constexpr OwnTextRow traceText_Menu = {L"时间曲线", L"時間曲線", L"Time Trace"};
// %d: the tab counter.
inline constexpr OwnTextRow traceText_Title = {L"时间曲线(%d)", L"時間曲線(%d)", L"Time Trace(%d)"};
inline constexpr OwnTextRow traceText_Device = {L"设备", L"設備", L"Device"};
// %1: the device number.
inline constexpr OwnTextRow traceText_DeviceItem = {L"设备 %1", L"設備 %1", L"Device %1"};
inline constexpr OwnTextRow traceText_ReplayFolder = {L"回放文件夹…", L"回放資料夾…", L"Replay Folder…"};
// %1: the band's number.
inline constexpr OwnTextRow traceText_Band = {L"波段 %1", L"波段 %1", L"Band %1"};
inline constexpr OwnTextRow traceText_Integral = {L"积分", L"積分", L"Integral"};
inline constexpr OwnTextRow traceText_PeakHeight = {L"峰高", L"峰高", L"Peak height"};
inline constexpr OwnTextRow traceText_PeakCentre = {L"峰中心", L"峰中心", L"Peak centre"};
inline constexpr OwnTextRow traceText_Fwhm = {L"半高宽", L"半高寬", L"FWHM"};
inline constexpr OwnTextRow traceText_Ratio = {L"积分比", L"積分比", L"Ratio"};
inline constexpr OwnTextRow traceText_RubyPressure = {L"红宝石压力 (GPa)", L"紅寶石壓力 (GPa)", L"Ruby pressure (GPa)"};
inline constexpr OwnTextRow traceText_Over = {L"除以", L"除以", L"over"};
inline constexpr OwnTextRow traceText_Seconds = {L"时间 (s)", L"時間 (s)", L"Time (s)"};
inline constexpr OwnTextRow traceText_FrameNumber = {L"帧号", L"幀號", L"Frame number"};
inline constexpr OwnTextRow traceText_LastMinutes = {L"显示最近", L"顯示最近", L"Show last"};
inline constexpr OwnTextRow traceText_AllMinutes = {L"全部", L"全部", L"all"};
inline constexpr OwnTextRow traceText_MinutesSuffix = {L" 分钟", L" 分鐘", L" min"};
inline constexpr OwnTextRow traceText_Pause = {L"暂停", L"暫停", L"Pause"};
inline constexpr OwnTextRow traceText_Resume = {L"继续", L"繼續", L"Resume"};
inline constexpr OwnTextRow traceText_Clear = {L"清除", L"清除", L"Clear"};
inline constexpr OwnTextRow traceText_ExportCsv = {L"导出 CSV…", L"匯出 CSV…", L"Export CSV…"};
inline constexpr OwnTextRow traceText_CsvFilter = {L"CSV 文件(*.csv)", L"CSV 檔案(*.csv)", L"CSV files(*.csv)"};
// %1: seconds, %2: frame number.
inline constexpr OwnTextRow traceText_ReadOut = {L"%1 s，帧 %2", L"%1 s，幀 %2", L"%1 s, frame %2"};
// %1: the folder, %2: files read, %3: files in all.
inline constexpr OwnTextRow traceText_Replaying = {
    L"回放 %1：第 %2 / %3 个文件（时间取自文件的保存时间）",
    L"回放 %1：第 %2 / %3 個檔案（時間取自檔案的儲存時間）",
    L"Replaying %1: file %2 of %3 (time from the files' saving times)"};
// %1: the folder, %2: files read, %3: files skipped.
inline constexpr OwnTextRow traceText_Replayed = {
    L"已回放 %1：%2 个文件，跳过 %3 个不是光谱文件的文件",
    L"已回放 %1：%2 個檔案，跳過 %3 個不是光譜檔案的檔案",
    L"Replayed %1: %2 files, %3 skipped that are not spectrum files"};
// clang-format on

}  // namespace quenlix
