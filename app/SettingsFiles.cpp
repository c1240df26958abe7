#include "SettingsFiles.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "SettingsPath.h"

namespace quenlix {
namespace {

constexpr const char* kLanguageFile = "config\\language.bin";
constexpr const char* kExcitationFile = "Config\\Excitation Wavelength.bin";
constexpr const char* kIntegralTimeFile = "config/integral time.bin";
constexpr const char* kLanguageCodes[4] = {"Chs", "Cht", "Eng", "Jap"};

std::string ReadAtMost(const char* windowsName, std::size_t limit) {
    std::ifstream in(SettingsPath(windowsName), std::ios::binary);
    std::string bytes(limit, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(limit));
    bytes.resize(in ? limit : static_cast<std::size_t>(in.gcount()));
    return bytes;
}

void WriteBytes(const char* windowsName, const void* data, std::size_t size) {
    std::ofstream out(SettingsPathForWrite(windowsName), std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

int ReadLanguageFile(int fallback) {
    // A code fills at most 9 bytes of its 10-byte field; read one more so a
    // longer content cannot compare equal after being cut.
    std::string text = ReadAtMost(kLanguageFile, 11);
    text = text.substr(0, text.find('\0'));  // the stored NUL ends the code
    for (int i = 0; i < 4; ++i) {
        if (text == kLanguageCodes[i]) return i;
    }
    return fallback;
}

void WriteLanguageFile(int languageIndex) {
    if (languageIndex < 0 || languageIndex > 3) return;
    const char* code = kLanguageCodes[languageIndex];
    WriteBytes(kLanguageFile, code, std::strlen(code) + 1);
}

double ReadExcitationWavelengthFile(double fallback) {
    const std::string bytes = ReadAtMost(kExcitationFile, 9);
    if (bytes.size() != 8) return fallback;
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | static_cast<unsigned char>(bytes[i]);
    const double value = std::bit_cast<double>(bits);
    return std::isfinite(value) ? value : fallback;
}

void WriteExcitationWavelengthFile(double nm) {
    std::uint64_t bits = std::bit_cast<std::uint64_t>(nm);
    unsigned char bytes[8];
    for (unsigned char& b : bytes) {
        b = static_cast<unsigned char>(bits & 0xFF);
        bits >>= 8;
    }
    WriteBytes(kExcitationFile, bytes, sizeof bytes);
}

double ReadIntegralTimeFile() {
    const std::string text = ReadAtMost(kIntegralTimeFile, 100);
    double ms = 0;
    if (std::sscanf(text.c_str(), "%lf", &ms) != 1 || !std::isfinite(ms) || ms <= 0) return 100.0;
    return ms;
}

void WriteIntegralTimeFile(double ms) {
    char text[64];
    const int n = std::snprintf(text, sizeof text, "%g", ms);
    if (n > 0) WriteBytes(kIntegralTimeFile, text, static_cast<std::size_t>(n));
}

}  // namespace quenlix
