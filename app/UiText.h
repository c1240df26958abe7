#pragma once

#include <QString>
#include <cstdio>
#include <string>

#include "ProcessValues.h"

namespace quenlix {

// One row of the UI string table: one text per language.
using TextRow = const wchar_t* const[4];

// The row's text in the current language.
inline QString Text(TextRow& row) { return QString::fromWCharArray(row[languageIndex]); }

// The table's formats are C formats where %s stands for a wide string; the
// wide printf family wants %ls for that.
std::wstring WideFormat(const wchar_t* format);

// The row's text in the current language with its placeholders filled
// (%d with ints, %s with const wchar_t*).
template <typename... Args>
QString FormatText(TextRow& row, Args... args) {
    const std::wstring format = WideFormat(row[languageIndex]);
    wchar_t text[512];
    const int n = std::swprintf(text, std::size(text), format.c_str(), args...);
    return n < 0 ? QString() : QString::fromWCharArray(text, n);
}

}  // namespace quenlix
