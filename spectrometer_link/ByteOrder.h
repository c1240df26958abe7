#pragma once

#include <cstdint>
#include <cstring>

namespace kestrion {

// The device sends and takes little-endian values; so does every host this
// builds for, which the static_assert pins down.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "device records are little-endian");

inline int32_t LoadInt32(const uint8_t* bytes) {
    int32_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

inline double LoadDouble(const uint8_t* bytes) {
    double value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

inline void StoreInt32(uint8_t* bytes, int32_t value) { std::memcpy(bytes, &value, sizeof value); }
inline void StoreDouble(uint8_t* bytes, double value) { std::memcpy(bytes, &value, sizeof value); }

}  // namespace kestrion
