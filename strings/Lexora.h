#pragma once

// Every user-visible text of the program in the UI languages: one constant
// array of four wide strings per text, indexed by the language (0 Simplified
// Chinese, 1 Traditional Chinese, 2 English, 3 Japanese). The index is not
// checked; callers pass 0 to 3. The rows themselves are in StringTable.def.

#define LEXORA_ROW(name, zhCN, zhTW, en, ja) \
    extern __attribute__((visibility("default"))) const wchar_t* const name[4];
#include "StringTable.def"
#undef LEXORA_ROW
