#pragma once
// Big-endian fields of command blocks and replies. Readers take a span and an
// offset and give 0 for bytes the span does not hold, so a parser can never
// read past what the drive returned.

#include <cstddef>
#include <cstdint>
#include <span>

namespace quarnel {

[[nodiscard]] inline std::uint8_t GetU8(std::span<const std::uint8_t> bytes, std::size_t at) {
    return at < bytes.size() ? bytes[at] : 0;
}

[[nodiscard]] inline std::uint16_t GetBe16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>((GetU8(bytes, at) << 8) | GetU8(bytes, at + 1));
}

[[nodiscard]] inline std::uint32_t GetBe24(std::span<const std::uint8_t> bytes, std::size_t at) {
    return (std::uint32_t{GetU8(bytes, at)} << 16) | (std::uint32_t{GetU8(bytes, at + 1)} << 8) |
           GetU8(bytes, at + 2);
}

[[nodiscard]] inline std::uint32_t GetBe32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return (std::uint32_t{GetBe16(bytes, at)} << 16) | GetBe16(bytes, at + 2);
}

inline void PutBe16(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value >> 8);
    bytes[at + 1] = static_cast<std::uint8_t>(value);
}

inline void PutBe24(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = static_cast<std::uint8_t>(value >> 16);
    PutBe16(bytes, at + 1, static_cast<std::uint16_t>(value));
}

inline void PutBe32(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
    PutBe16(bytes, at, static_cast<std::uint16_t>(value >> 16));
    PutBe16(bytes, at + 2, static_cast<std::uint16_t>(value));
}

} // namespace quarnel
