// Feeds arbitrary bytes to the spectrum file reader, twice: once into a fresh
// record and once into a record that already holds a spectrum, as a series
// loader's would.
#include <cstddef>
#include <cstdint>
#include <string>

#include "SpectrumParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    scrivona::SpectrumRecord record;
    const bool read = scrivona::ParseSpectrumFile(bytes, record);
    if (read && (record.x.size() != static_cast<std::size_t>(record.header.pixelCount) ||
                 record.y.size() != record.x.size())) {
        __builtin_trap();
    }
    scrivona::ParseSpectrumFile(bytes, record);
    return 0;
}
