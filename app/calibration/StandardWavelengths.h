#pragma once

#include <QString>
#include <QStringList>

namespace quenlix {

inline constexpr const char* kStandardWavelengthFile = "Config\\Standard Wavelength.bin";

// "Config\Standard Wavelength.bin": FF FE, then the editor's text in
// UTF-16LE without terminator. The text as stored; empty when the file is
// missing, refused or has no byte order mark.
QString ReadStandardWavelengthText();
// Writes FF FE and the text; false when the file could not be written.
bool WriteStandardWavelengthText(const QString& text);

// The entries of the list: every run of digits and '.' in the text, in
// order, as written (no numeric check); any other character, a line break
// too, ends a run, and so does the end of the text.
QStringList ScanStandardWavelengths(const QString& text);

}  // namespace quenlix
