#include "Lexora.h"

// Constant-initialised, so the arrays are in place before any code of the
// program runs.
#define LEXORA_ROW(name, zhCN, zhTW, en, ja) const wchar_t* const name[4] = {zhCN, zhTW, en, ja};
#include "StringTable.def"
#undef LEXORA_ROW
