#pragma once

// Axis titles by axis type code (0..5) and language column (0 Simplified
// Chinese, 1 Traditional Chinese, 2 English, 3 Japanese). Codes outside the
// tables give nullptr.
const wchar_t* XAxisTitle(int type, int language);
const wchar_t* YAxisTitle(int type, int language);
