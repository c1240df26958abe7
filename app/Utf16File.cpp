#include "Utf16File.h"

#include "BoundedFile.h"

namespace quenlix {

std::optional<QString> ReadUtf16File(const std::string& path, std::size_t limit) {
    const std::string bytes = ReadBoundedFile(path, limit).bytes;
    if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
        static_cast<unsigned char>(bytes[1]) != 0xFE)
        return std::nullopt;
    std::u16string units;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                       (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return QString::fromStdU16String(units);
}

std::string Utf16FileBytes(const QString& text) {
    std::string bytes = "\xFF\xFE";
    bytes.reserve(2 + 2 * static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        bytes += static_cast<char>(c.unicode() & 0xFF);
        bytes += static_cast<char>(c.unicode() >> 8);
    }
    return bytes;
}

}  // namespace quenlix
