#pragma once

namespace quenlix {

inline constexpr const char* kLanguageFile = "config\\language.bin";
inline constexpr const char* kExcitationFile = "Config\\Excitation Wavelength.bin";
inline constexpr const char* kIntegralTimeFile = "config/integral time.bin";

// The program's small settings files, in fixed byte layouts that other
// installations read and write too. Each is read whole when it is a regular
// file of at most 4 KiB; anything else (a folder, a FIFO, a device, a larger
// file) counts as a missing file. Each is written whole or not at all (a
// temporary file renamed into place); a writer returns false when it failed.

// "config\language.bin": a language code ("Chs", "Cht", "Eng", "Jap") and one
// NUL. Returns the index of the stored code, or fallback when the file is
// missing or holds none of the codes.
int ReadLanguageFile(int fallback);
bool WriteLanguageFile(int languageIndex);

// "Config\Excitation Wavelength.bin": 8 bytes, a little-endian IEEE-754
// double. Returns fallback unless the file holds exactly such a value.
double ReadExcitationWavelengthFile(double fallback);
bool WriteExcitationWavelengthFile(double nm);

// "config/integral time.bin": one decimal number in ms as plain text.
// Returns 100 when the file is missing or its first 100 bytes hold no
// positive number.
double ReadIntegralTimeFile();
bool WriteIntegralTimeFile(double ms);

}  // namespace quenlix
