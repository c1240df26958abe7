#pragma once

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace scrivona_test {

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The file's lines without their CR LF ends.
inline std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(bytes.substr(start, end - start));
    }
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

// Whether text has the shape of pattern: '9' stands for any digit, 'A' for
// an upper-case and 'a' for a lower-case ASCII letter, anything else for itself.
inline bool HasShape(const std::string& text, const std::string& pattern) {
    if (text.size() != pattern.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool fits = pattern[i] == '9'   ? c >= '0' && c <= '9'
                          : pattern[i] == 'A' ? c >= 'A' && c <= 'Z'
                          : pattern[i] == 'a' ? c >= 'a' && c <= 'z'
                                              : c == pattern[i];
        if (!fits) return false;
    }
    return true;
}

}  // namespace scrivona_test
