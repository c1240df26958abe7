#pragma once

#include <string>
#include <string_view>

// Spectrum files are written in UTF-8 without a byte-order mark. Files read
// may also be UTF-16LE (FF FE at the start) or, when the bytes are not valid
// UTF-8, GB18030 as text files are written on Chinese-locale systems.

namespace scrivona {

// Appends text as UTF-8; code points that cannot be encoded become U+FFFD.
void AppendUtf8(std::wstring_view text, std::string& out);
std::string ToUtf8(std::wstring_view text);

// Decodes UTF-8 text; invalid sequences become U+FFFD.
std::wstring FromUtf8(std::string_view text);

// Brings the bytes of a file to UTF-8 by the file's encoding.
std::string FileTextToUtf8(std::string bytes);

}  // namespace scrivona
