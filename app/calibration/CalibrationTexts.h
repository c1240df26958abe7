#pragma once

#include "OwnText.h"

namespace quenlix {

// Messages of the wavelength calibration page.
// clang-format off

// Shown with FixedTextExplained: the first column is the fixed text itself.
inline constexpr OwnTextRow calibrationText_TooFewPairs = {
    L"有效数据大于5个",
    L"至少需要 5 組像素與波長。",
    L"At least 5 pairs of pixel and wavelength are needed."};

// %1: the row's ID.
inline constexpr OwnTextRow calibrationText_NotFilled = {
    L"有数据未填写",
    L"ID %1 的像素或波長尚未填寫。",
    L"The pixel or wavelength of ID %1 is empty."};

// %1: the row's ID.
inline constexpr OwnTextRow calibrationText_Wrong = {
    L"数据填写有错误",
    L"ID %1 的像素或波長不是數字。",
    L"The pixel or wavelength of ID %1 is not a number."};

inline constexpr OwnTextRow calibrationText_BadCoefficient = {
    L"参数错误",
    L"係數欄位必須各含一個數字。",
    L"Each coefficient field must hold one number."};

inline constexpr OwnTextRow calibrationText_Written = {
    L"保存成功",
    L"係數已寫入光譜儀。",
    L"The coefficients were written into the spectrometer."};

// Shown with OwnText.

// %1: the library's file name.
inline constexpr OwnTextRow calibrationText_NoLibrary = {
    L"无法加载数值库 %1，未计算任何参数。",
    L"無法載入數值程式庫 %1，未計算任何參數。",
    L"The numeric library %1 could not be loaded; nothing was computed."};

// %1: the library's file name, %2: the routine.
inline constexpr OwnTextRow calibrationText_NoRoutine = {
    L"数值库 %1 中没有 %2，未计算任何参数。",
    L"數值程式庫 %1 中沒有 %2，未計算任何參數。",
    L"The numeric library %1 has no routine %2; nothing was computed."};

inline constexpr OwnTextRow calibrationText_NotAccepted = {
    L"光谱仪没有接受这些系数。它的波长校准可能未变，也可能只写入了一部分：请检查后再保存一次。",
    L"光譜儀沒有接受這些係數。它的波長校正可能未變，也可能只寫入了一部分：請檢查後再儲存一次。",
    L"The spectrometer did not accept the coefficients. Its wavelength calibration may be unchanged or only partly written: check it and save again."};

// %1: the device's serial number, %2: the coefficients, current and new.
inline constexpr OwnTextRow calibrationText_Confirm = {
    L"将新的波长校准写入光谱仪 %1？\n写入后，该设备以后的所有测量都使用新的系数。\n\n%2",
    L"將新的波長校正寫入光譜儀 %1？\n寫入後，該裝置以後的所有量測都使用新的係數。\n\n%2",
    L"Write the new wavelength calibration into the spectrometer %1?\nEvery later measurement of this device uses the new coefficients.\n\n%2"};

// Column headings of the confirmation.
inline constexpr OwnTextRow calibrationText_Current = {L"当前", L"目前", L"Current"};
inline constexpr OwnTextRow calibrationText_New = {L"新", L"新", L"New"};

// %1: the history file, %2: the previous coefficients.
inline constexpr OwnTextRow calibrationText_HistoryNotWritten = {
    L"系数已写入，但校准记录 %1 无法保存。请记下以前的系数：\n%2",
    L"係數已寫入，但校正記錄 %1 無法儲存。請記下以前的係數：\n%2",
    L"The coefficients were written, but the calibration history %1 could not be saved. Note the previous coefficients:\n%2"};

inline constexpr OwnTextRow calibrationText_NoDevice = {
    L"此页面没有光谱仪，未写入任何内容。",
    L"此頁面沒有光譜儀，未寫入任何內容。",
    L"This page has no spectrometer; nothing was written."};

inline constexpr OwnTextRow calibrationText_BadPair = {
    L"像素须为数字，波长须为数字或留空。",
    L"像素須為數字，波長須為數字或留空。",
    L"Type the pixel as a number, and the wavelength as a number or leave it empty."};

inline constexpr OwnTextRow calibrationText_NoRowChosen = {
    L"请先在校准数据中点击要修改的一行。",
    L"請先在校正資料中點選要修改的一列。",
    L"Click the row to modify in the calibration data first."};

inline constexpr OwnTextRow calibrationText_Writing = {
    L"正在写入光谱仪…",
    L"正在寫入光譜儀…",
    L"Writing into the spectrometer…"};

// clang-format on

}  // namespace quenlix
