#pragma once

#include <QString>

namespace quenlix {

// Texts the program adds beyond the string library, which holds its
// established interface texts: one row per text, one column per language
// (Simplified Chinese, Traditional Chinese, English). The program's
// Japanese shows the English column.
using OwnTextRow = const wchar_t* const[3];

// The row's text in the current language.
QString OwnText(const OwnTextRow& row);

// For messages that stay in Simplified Chinese whatever the language (the
// row's first column): in the other languages the row's text in that
// language follows on a new line, so every user can read it.
QString FixedTextExplained(const OwnTextRow& row);

}  // namespace quenlix
