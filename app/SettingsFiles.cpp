#include "SettingsFiles.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "BoundedFile.h"
#include "ReplaceFile.h"
#include "SettingsPath.h"

namespace quenlix {
namespace {

constexpr const char* kLanguageCodes[4] = {"Chs", "Cht", "Eng", "Jap"};
// Far beyond what any of these files holds; a larger one is no settings file.
constexpr std::size_t kSettingsFileLimit = 4096;

// The file's bytes; none when it is missing or refused.
std::string ReadSettingsFile(const char* name) {
    return ReadBoundedFile(SettingsPath(name), kSettingsFileLimit).bytes;
}

bool WriteBytes(const char* name, const void* data, std::size_t size) {
    return WriteFileReplacing(SettingsPathForWrite(name), std::string_view(static_cast<const char*>(data), size));
}

}  // namespace

int ReadLanguageFile(int fallback) {
    std::string text = ReadSettingsFile(kLanguageFile);
    text = text.substr(0, text.find('\0'));  // the stored NUL ends the code
    for (int i = 0; i < 4; ++i) {
        if (text == kLanguageCodes[i]) return i;
    }
    return fallback;
}

bool WriteLanguageFile(int languageIndex) {
    if (languageIndex < 0 || languageIndex > 3) return false;
    const char* code = kLanguageCodes[languageIndex];
    return WriteBytes(kLanguageFile, code, std::strlen(code) + 1);
}

double ReadExcitationWavelengthFile(double fallback) {
    const std::string bytes = ReadSettingsFile(kExcitationFile);
    if (bytes.size() != 8) return fallback;
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | static_cast<unsigned char>(bytes[i]);
    const double value = std::bit_cast<double>(bits);
    return std::isfinite(value) ? value : fallback;
}

bool WriteExcitationWavelengthFile(double nm) {
    std::uint64_t bits = std::bit_cast<std::uint64_t>(nm);
    unsigned char bytes[8];
    for (unsigned char& b : bytes) {
        b = static_cast<unsigned char>(bits & 0xFF);
        bits >>= 8;
    }
    return WriteBytes(kExcitationFile, bytes, sizeof bytes);
}

double ReadIntegralTimeFile() {
    // Only the first 100 bytes may hold the number.
    const std::string text = ReadSettingsFile(kIntegralTimeFile).substr(0, 100);
    double ms = 0;
    if (std::sscanf(text.c_str(), "%lf", &ms) != 1 || !std::isfinite(ms) || ms <= 0) return 100.0;
    return ms;
}

bool WriteIntegralTimeFile(double ms) {
    char text[64];
    const int n = std::snprintf(text, sizeof text, "%g", ms);
    return n > 0 && WriteBytes(kIntegralTimeFile, text, static_cast<std::size_t>(n));
}

}  // namespace quenlix
