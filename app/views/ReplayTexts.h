#pragma once

#include "OwnText.h"

namespace quenlix {

// Texts of the series replay page.
// clang-format off

// %1: the folder.
inline constexpr OwnTextRow replayText_NoFiles = {
    L"文件夹 %1 中没有光谱文件（*.txt）。",
    L"資料夾 %1 中沒有光譜檔案（*.txt）。",
    L"There are no spectrum files (*.txt) in %1."};

// %1: place of the file, %2: files in all, %3: the file's name.
inline constexpr OwnTextRow replayText_Position = {
    L"第 %1 / %2 个文件：%3",
    L"第 %1 / %2 個檔案：%3",
    L"File %1 of %2: %3"};

// %1: files shown, %2: files skipped.
inline constexpr OwnTextRow replayText_Ended = {
    L"播放结束：显示了 %1 个文件，跳过了 %2 个不是光谱文件的文件。",
    L"播放結束：顯示了 %1 個檔案，跳過了 %2 個不是光譜檔案的檔案。",
    L"Playback ended: %1 files shown, %2 skipped that are not spectrum files."};

// %1: the folder, %2: files shown, %3: files skipped.
inline constexpr OwnTextRow replayText_Gone = {
    L"播放结束：%1 中的光谱文件已不存在。显示了 %2 个文件，跳过了 %3 个不是光谱文件的文件。",
    L"播放結束：%1 中的光譜檔案已不存在。顯示了 %2 個檔案，跳過了 %3 個不是光譜檔案的檔案。",
    L"Playback ended: the spectrum files in %1 are gone. %2 files shown, %3 skipped that are not spectrum files."};

// clang-format on

}  // namespace quenlix
