#pragma once

#include <QString>
#include <optional>
#include <string>

namespace quenlix {

// Settings texts stored as FF FE and UTF-16LE without terminator.

// The text after FF FE; none when the file is missing, refused (not a
// regular file, larger than limit) or without the mark.
std::optional<QString> ReadUtf16File(const std::string& path, std::size_t limit);

// FF FE followed by the text in UTF-16LE.
std::string Utf16FileBytes(const QString& text);

}  // namespace quenlix
