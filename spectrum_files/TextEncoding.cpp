#include "TextEncoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

namespace scrivona {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsScalarValue(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

void AppendCodePoint(char32_t c, std::string& out) {
    if (!IsScalarValue(c)) c = kReplacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[i] into c, advancing i. An invalid,
// overlong or truncated sequence gives false and U+FFFD, advancing one byte.
bool DecodeOne(std::string_view text, size_t& i, char32_t& c) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    c = kReplacement;
    int length = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
        length = 1, value = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, smallest = 0x10000;
    }
    if (length == 0 || i + length > text.size()) {
        ++i;
        return false;
    }
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return false;
        }
        value = (value << 6) | (byte(i + k) & 0x3F);
    }
    if (value < smallest || !IsScalarValue(value)) {
        ++i;
        return false;
    }
    i += length;
    c = value;
    return true;
}

bool IsValidUtf8(std::string_view text) {
    char32_t c;
    for (size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
        } else if (!DecodeOne(text, i, c)) {
            return false;
        }
    }
    return true;
}

std::string Utf16LeToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    const auto unit = [&](size_t k) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[k]) |
                                     static_cast<unsigned char>(bytes[k + 1]) << 8);
    };
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t u = unit(i);
        char32_t c = u;
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
            const char16_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        AppendCodePoint(c, out);  // a lone surrogate becomes U+FFFD
    }
    return out;
}

std::string Gb18030ToUtf8(std::string_view bytes) {
    iconv_t cd = iconv_open("UTF-8", "GB18030");
    if (cd == reinterpret_cast<iconv_t>(-1)) return ToUtf8(FromUtf8(bytes));
    std::string out(bytes.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    size_t written = 0;
    while (inLeft > 0) {
        char* outPtr = out.data() + written;
        size_t outLeft = out.size() - written;
        const size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        written = out.size() - outLeft;
        if (result != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
        } else {
            // An invalid or truncated sequence: mark it and go on after its first byte.
            if (out.size() - written < 3) out.resize(out.size() * 2);
            out.replace(written, 3, "\xEF\xBF\xBD");
            written += 3;
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    out.resize(written);
    return out;
}

}  // namespace

void AppendUtf8(std::wstring_view text, std::string& out) {
    for (wchar_t c : text) AppendCodePoint(static_cast<char32_t>(c), out);
}

std::string ToUtf8(std::wstring_view text) {
    std::string out;
    AppendUtf8(text, out);
    return out;
}

std::wstring FromUtf8(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    char32_t c;
    for (size_t i = 0; i < text.size();) {
        DecodeOne(text, i, c);
        out += static_cast<wchar_t>(c);
    }
    return out;
}

std::string FileTextToUtf8(std::string bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        return Utf16LeToUtf8(std::string_view(bytes).substr(2));
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
    if (IsValidUtf8(bytes)) return bytes;
    return Gb18030ToUtf8(bytes);
}

}  // namespace scrivona
