#pragma once

// Texts of a spectrum file's header in the four header languages
// (0 Simplified Chinese, 1 Traditional Chinese, 2 English, 3 Japanese).

namespace scrivona {

constexpr int kLanguageCount = 4;
constexpr int kHeaderLineCount = 17;  // lines 0..16; the end line follows the data
constexpr int kFileLineCount = 18;    // header lines and the end line
constexpr int kTypeCount = 6;         // X and Y axis type codes 0..5

enum FileLine {
    kTitleLine,
    kLanguageCodeLine,
    kRuleLine,
    kSavingTimeLine,
    kDeviceNameLine,
    kVersionLine,
    kSerialNumberLine,
    kIntegralTimeLine,
    kAvgCountLine,
    kSmoothnessLine,
    kDataTypeLine,
    kXUnitLine,
    kYUnitLine,
    kPixelCountLine,
    kReserveLine,
    kOtherInfoLine,
    kBeginLine,
    kEndLine,
};

// The bare text of a line: a label ending in a colon, or the whole line.
const wchar_t* LineLabel(int language, int line);
const wchar_t* XTypeName(int language, int code);
const wchar_t* YTypeName(int language, int code);
const wchar_t* XUnitText(int code);
const wchar_t* YUnitText(int code);

}  // namespace scrivona
