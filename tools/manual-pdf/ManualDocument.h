#pragma once

#include <QTextDocument>
#include <memory>
#include <string>

namespace quenlix {

// The family of the CJK font Chinese text is set in (Debian: fonts-wqy-microhei).
inline constexpr const char* kCjkFontFamily = "WenQuanYi Micro Hei";

// Reads a manual written in Markdown into a document ready to print: the
// body font chosen (with the CJK font when the text has Chinese), and every
// image read from the Markdown file's folder and held in the document, so
// printing never looks for a file. Null with error set when the file, an
// image or the CJK font is missing.
std::unique_ptr<QTextDocument> LoadManual(const std::string& markdownPath, std::string& error);

}  // namespace quenlix
