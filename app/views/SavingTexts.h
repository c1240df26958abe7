#pragma once

#include "OwnText.h"

namespace quenlix {

// Messages of saving spectra, images and series.
// clang-format off

// %1: the file.
inline constexpr OwnTextRow savingText_FileNotWritten = {
    L"无法写入文件 %1。请检查文件夹是否存在、您是否有写入权限，以及磁盘是否已满。",
    L"無法寫入檔案 %1。請檢查資料夾是否存在、您是否有寫入權限，以及磁碟是否已滿。",
    L"The file %1 could not be written. Check that its folder exists, that you may write there and that the disk is not full."};

inline constexpr OwnTextRow savingText_NoActiveDevice = {
    L"请先选择一个活动设备：只有设备的光谱可以保存。",
    L"請先選擇一個作用中裝置：只有裝置的光譜可以儲存。",
    L"Choose an active device first: only a device's spectrum is saved here."};

inline constexpr OwnTextRow savingText_NoBaseDeleted = {
    L"还没有去基线的光谱：请先开启自动寻峰。",
    L"還沒有去基線的光譜：請先開啟自動尋峰。",
    L"There is no spectrum without base line yet: turn on the automatic peak search first."};

// %1: the file.
inline constexpr OwnTextRow savingText_NotSpectrumFile = {
    L"%1 不是可读取的光谱文件。",
    L"%1 不是可讀取的光譜檔案。",
    L"%1 is not a spectrum file that can be read."};

// %1: the folder.
inline constexpr OwnTextRow savingText_SeriesFolderMissing = {
    L"文件夹 %1 不存在。请为连续保存选择另一个文件夹。",
    L"資料夾 %1 不存在。請為連續儲存選擇另一個資料夾。",
    L"The folder %1 does not exist. Choose another folder for the series."};

// %1: the file, %2: files saved before it.
inline constexpr OwnTextRow savingText_SeriesFailed = {
    L"连续保存已停止：无法写入文件 %1。之前已保存 %2 个文件。",
    L"連續儲存已停止：無法寫入檔案 %1。之前已儲存 %2 個檔案。",
    L"The series stopped: the file %1 could not be written. %2 files were saved before it."};

// %1: files saved, %2: the limit, %3: the folder.
inline constexpr OwnTextRow savingText_SeriesByCount = {
    L"正在连续保存：%1 / %2 个文件，保存到 %3",
    L"正在連續儲存：%1 / %2 個檔案，儲存到 %3",
    L"Saving series: %1 of %2 files to %3"};

// %1: files saved, %2: seconds elapsed, %3: seconds in all, %4: the folder.
inline constexpr OwnTextRow savingText_SeriesByTime = {
    L"正在连续保存：%1 个文件，%2 / %3 秒，保存到 %4",
    L"正在連續儲存：%1 個檔案，%2 / %3 秒，儲存到 %4",
    L"Saving series: %1 files, %2 of %3 s, to %4"};

// %1: files saved, %2: seconds elapsed, %3: the folder.
inline constexpr OwnTextRow savingText_SeriesOpenEnded = {
    L"正在连续保存：%1 个文件，%2 秒，保存到 %3",
    L"正在連續儲存：%1 個檔案，%2 秒，儲存到 %3",
    L"Saving series: %1 files, %2 s, to %3"};

// clang-format on

}  // namespace quenlix
