#pragma once

#include <array>
#include <cstdint>

// The spectrometer's protocol: vendor control requests on endpoint 0 (index 0
// always) and 6-byte bulk commands, each answered by one bulk reply.
namespace kestrion::protocol {

// Control requests, IN unless marked OUT.
inline constexpr uint8_t kReadIdentity = 0xE2;      // 12 ASCII: model code (8) + firmware (4)
inline constexpr uint8_t kReadSerialPart = 0xE4;    // up to 8 ASCII
inline constexpr uint8_t kReadRecord = 0xD4;        // 12 bytes, record chosen by value
inline constexpr uint8_t kReadCoefficient = 0xD2;   // double, value = coefficient index
inline constexpr uint8_t kWriteCoefficient = 0xD1;  // OUT, double, value = coefficient index
inline constexpr uint8_t kSelectClockTrigger = 0xB1;  // OUT, no data (clock and soft triggering)
inline constexpr uint8_t kSelectExtTrigger = 0xB2;    // OUT, no data
inline constexpr uint8_t kReadFrameStatus = 0xB4;     // 4 bytes, kFrameReady when a frame waits

inline constexpr int kIdentityLength = 12;
inline constexpr int kSerialPartLength = 8;
inline constexpr int kRecordLength = 12;
inline constexpr int kCoefficientLength = 8;
inline constexpr int kFrameStatusLength = 4;
inline constexpr int kCoefficientCount = 4;

// Values of kReadRecord: 0 … 39 are correction points (int32 pixel, double
// value; a negative pixel ends the list); the rest are int32 triples.
inline constexpr int kMaxCorrectionPoints = 40;
inline constexpr uint16_t kRecordDeviceRange = 35;   // int32 min X, int32 max X, 4 unused
inline constexpr uint16_t kRecordDefect = 36;        // three int32
inline constexpr uint16_t kRecordDisplayRange = 43;  // int32 min X, int32 max X (-1, -1: none)

inline constexpr std::array<uint8_t, 4> kFrameReady = {0x01, 0xAA, 0xBB, 0xCC};

// Bulk commands on the first endpoint; replies of up to kReplyLength bytes.
inline constexpr int kCommandLength = 6;
inline constexpr int kReplyLength = 8192;
inline constexpr std::array<uint8_t, kCommandLength> kFrameRequest = {0xBB, 0xBB, 0x01, 0x01, 0x00, 0x00};

// AA AA b1 b0 b3 b2: the 32-bit value in two 16-bit halves, low half first,
// each half high byte first.
inline std::array<uint8_t, kCommandLength> IntegrationCommand(uint32_t deviceValue) {
    return {0xAA,
            0xAA,
            static_cast<uint8_t>(deviceValue >> 8),
            static_cast<uint8_t>(deviceValue),
            static_cast<uint8_t>(deviceValue >> 24),
            static_cast<uint8_t>(deviceValue >> 16)};
}

// The device value an integration command carries (inverse of the above).
inline uint32_t IntegrationValue(const uint8_t* command) {
    return static_cast<uint32_t>(command[2]) << 8 | command[3] | static_cast<uint32_t>(command[4]) << 24 |
           static_cast<uint32_t>(command[5]) << 16;
}

}  // namespace kestrion::protocol
