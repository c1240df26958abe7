#pragma once

#include "OwnText.h"

namespace quenlix {

// The message of Help > Operation Manual when no manual is found.
// clang-format off

// %1: the manual's file name, %2: the paths looked at, one a line.
inline constexpr OwnTextRow manualText_NotFound = {
    L"找不到操作手册 %1。已查找：\n%2",
    L"找不到操作手冊 %1。已尋找：\n%2",
    L"The operation manual %1 was not found. Looked for:\n%2"};

// clang-format on

}  // namespace quenlix
