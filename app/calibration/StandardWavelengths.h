#pragma once

#include <QString>
#include <QStringList>

namespace quenlix {

inline constexpr const char* kStandardWavelengthFile = "Config\\Standard Wavelength.bin";

// An example list of mercury–argon lamp lines ships with the program under
// this name (looked up with FindShippedFile).
inline constexpr const char* kStandardWavelengthExample = "Standard Wavelength.bin";

// "Config\Standard Wavelength.bin": FF FE, then the editor's text in
// UTF-16LE without terminator. The text as stored; while the settings folder
// has no such file, the shipped example's. Empty when the file is refused
// or has no byte order mark, or neither file is found.
QString ReadStandardWavelengthText();
// Writes FF FE and the text into the settings folder; false when the file
// could not be written.
bool WriteStandardWavelengthText(const QString& text);

// The entries of the list: every run of digits and '.' in the text, in
// order, as written (no numeric check); any other character, a line break
// too, ends a run, and so does the end of the text.
QStringList ScanStandardWavelengths(const QString& text);

}  // namespace quenlix
